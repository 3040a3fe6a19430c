#include "io/ioprogressdialog.h"

#include <QCoreApplication>
#include <QProgressDialog>

namespace {
constexpr int Steps = 1000;
}

CIOProgressDialog::CIOProgressDialog(QWidget *parent)
    : m_parent(parent)
{
}

CIOProgressDialog::~CIOProgressDialog()
{
    delete m_dialog;
}

void CIOProgressDialog::begin(const QString &label, qint64 total)
{
    delete m_dialog;
    m_dialog = new QProgressDialog(label, QCoreApplication::translate("QObject", "Annuler"), 0, Steps, m_parent);
    m_dialog->setWindowTitle(QCoreApplication::translate("QObject", "Corvane Navigator"));
    m_dialog->setWindowModality(Qt::WindowModal);
    m_dialog->setMinimumDuration(0);
    m_dialog->setAutoClose(false);
    m_dialog->setAutoReset(false);
    m_total = qMax<qint64>(total, 1);
    m_shown = -1;
    m_dialog->setValue(0);
}

bool CIOProgressDialog::advance(qint64 done)
{
    if (!m_dialog)
        return true;
    // Showing is what costs: only when the shown value changes.
    const int value = int(qBound(qint64(0), done * Steps / m_total, qint64(Steps)));
    if (value != m_shown) {
        m_shown = value;
        m_dialog->setValue(value);
    }
    return !m_dialog->wasCanceled();
}

void CIOProgressDialog::end()
{
    delete m_dialog;
}
