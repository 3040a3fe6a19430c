#pragma once

#include "io/ioprogress.h"

#include <QPointer>

class QProgressDialog;
class QWidget;

// The progress of a long import or export, shown in a window-modal progress
// dialog with a cancel button.
class CIOProgressDialog : public CIOProgress
{
public:
    explicit CIOProgressDialog(QWidget *parent);
    ~CIOProgressDialog() override;

    void begin(const QString &label, qint64 total) override;
    bool advance(qint64 done) override;
    void end() override;

private:
    QWidget *m_parent = nullptr;
    QPointer<QProgressDialog> m_dialog;
    qint64 m_total = 0;
    int m_shown = -1;   // last value shown, in thousandths
};
