#pragma once

#include "data/restore.h"

#include <QDialog>

class QPushButton;
class QTreeWidget;

// Lists the simulator files the program changed, the copies it holds of
// each with their date and how they differ from the file, and lets the
// user choose the copy to restore.
class CRestoreDialog : public QDialog
{
    Q_OBJECT

public:
    explicit CRestoreDialog(const QList<CRestorableFile> &files, QWidget *parent = nullptr);

    // The file and the copy chosen; empty while no copy is.
    QString filePath() const;
    QString copyPath() const;

    // The date and time a copy is listed with.
    static QString dateText(const QDateTime &taken);

private:
    void updateButton();

    QTreeWidget *m_tree = nullptr;
    QPushButton *m_restore = nullptr;
};
