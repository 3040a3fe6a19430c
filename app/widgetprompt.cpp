#include "app/widgetprompt.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QHash>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace {

QMessageBox::StandardButton standardButton(const QString &name)
{
    static const QHash<QString, QMessageBox::StandardButton> buttons = {
        {CPrompt::Ok, QMessageBox::Ok},
        {CPrompt::Cancel, QMessageBox::Cancel},
        {CPrompt::Yes, QMessageBox::Yes},
        {CPrompt::No, QMessageBox::No},
    };
    return buttons.value(name, QMessageBox::NoButton);
}

QMessageBox::Icon boxIcon(CPrompt::Icon icon)
{
    switch (icon) {
    case CPrompt::Information: return QMessageBox::Information;
    case CPrompt::Warning: return QMessageBox::Warning;
    case CPrompt::Critical: return QMessageBox::Critical;
    case CPrompt::Question: return QMessageBox::Question;
    case CPrompt::NoIcon: break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::ButtonRole customRole(const CPrompt::Message &box, const QString &caption)
{
    if (box.acceptButtons.contains(caption))
        return QMessageBox::AcceptRole;
    if (box.rejectButtons.contains(caption))
        return QMessageBox::RejectRole;
    return QMessageBox::ActionRole;
}

} // namespace

QString CWidgetPrompt::message(const Message &box)
{
    QMessageBox msg(boxIcon(box.icon), box.title, box.text);
    // Texts may quote names from the databases or from files: never rich text.
    msg.setTextFormat(Qt::PlainText);
    if (!box.informativeText.isEmpty())
        msg.setInformativeText(box.informativeText);
    QHash<QAbstractButton *, QString> names;
    for (const QString &name : box.buttons) {
        const QMessageBox::StandardButton standard = standardButton(name);
        QAbstractButton *button = standard != QMessageBox::NoButton
                ? static_cast<QAbstractButton *>(msg.addButton(standard))
                : msg.addButton(name, customRole(box, name));
        names.insert(button, name);
        if (name == box.defaultButton)
            msg.setDefaultButton(qobject_cast<QPushButton *>(button));
    }
    msg.exec();
    return names.value(msg.clickedButton());
}

void CWidgetPrompt::about(const QString &title, const QString &text)
{
    QMessageBox::about(QApplication::activeWindow(), title, text);
}

void CWidgetPrompt::aboutQt(const QString &title)
{
    QMessageBox::aboutQt(QApplication::activeWindow(), title);
}

QString CWidgetPrompt::existingDirectory(const QString &caption, const QString &startDir)
{
    return QFileDialog::getExistingDirectory(nullptr, caption, startDir,
                                             QFileDialog::ShowDirsOnly | QFileDialog::DontResolveSymlinks);
}

QString CWidgetPrompt::openFileName(const QString &caption, const QString &dir, const QString &filter)
{
    return QFileDialog::getOpenFileName(nullptr, caption, dir, filter);
}

QStringList CWidgetPrompt::openFileNames(const QString &caption, const QString &dir, const QString &filter)
{
    return QFileDialog::getOpenFileNames(nullptr, caption, dir, filter);
}

QString CWidgetPrompt::saveFileName(const QString &caption, const QString &dir, const QString &filter)
{
    // The callers ask their own question before replacing a file.
    return QFileDialog::getSaveFileName(nullptr, caption, dir, filter, nullptr, QFileDialog::DontConfirmOverwrite);
}

QString CWidgetPrompt::text(const QString &title, const QString &label, const QString &initial, bool *ok)
{
    return QInputDialog::getText(nullptr, title, label, QLineEdit::Normal, initial, ok);
}

int CWidgetPrompt::execDialog(QObject *dialog)
{
    auto *d = qobject_cast<QDialog *>(dialog);
    return d ? d->exec() : QDialog::Rejected;
}
