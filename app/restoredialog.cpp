#include "app/restoredialog.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

enum Role { FileRole = Qt::UserRole, CopyRole };

QString copyName(const CStoredCopy &copy)
{
    return copy.number > 0 ? CRestoreDialog::tr("Copie %1").arg(copy.number)
                           : CRestoreDialog::tr("Avant la dernière restauration");
}

// Rows of a database or lines of a text file, found on one side only.
QString summary(const CStoredCopy &copy)
{
    if (!copy.error.isEmpty())
        return CRestoreDialog::tr("Comparaison impossible : %1").arg(copy.error);
    if (copy.differences() == 0)
        return CRestoreDialog::tr("Identique au fichier actuel");
    return CRestoreDialog::tr("Lignes différentes : %1").arg(copy.differences());
}

// The copy line an item is or belongs to.
const QTreeWidgetItem *copyItemOf(const QTreeWidgetItem *item)
{
    for (; item; item = item->parent()) {
        if (!item->data(0, CopyRole).toString().isEmpty())
            return item;
    }
    return nullptr;
}

} // namespace

CRestoreDialog::CRestoreDialog(const QList<CRestorableFile> &files, QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(tr("Restaurer les données du simulateur"));
    resize(760, 420);

    auto *text = new QLabel(tr("Copies des fichiers du simulateur que le programme a modifiés. La copie choisie "
                               "remplace le fichier ; le fichier tel qu'il est reste gardé, et le restaurer "
                               "ensuite revient en arrière."),
                            this);
    text->setWordWrap(true);

    m_tree = new QTreeWidget(this);
    m_tree->setObjectName(QStringLiteral("treeCopies"));
    m_tree->setColumnCount(3);
    m_tree->setHeaderLabels({tr("Fichier, copie, table"), tr("Date"), tr("Différences avec le fichier actuel")});
    m_tree->header()->setSectionResizeMode(QHeaderView::ResizeToContents);

    for (const CRestorableFile &file : files) {
        auto *fileItem = new QTreeWidgetItem(m_tree, {QFileInfo(file.path).fileName()});
        fileItem->setToolTip(0, QDir::toNativeSeparators(file.path));
        fileItem->setData(0, FileRole, file.path);
        for (const CStoredCopy &copy : file.copies) {
            auto *copyItem = new QTreeWidgetItem(fileItem, {copyName(copy), dateText(copy.taken), summary(copy)});
            copyItem->setToolTip(0, QDir::toNativeSeparators(copy.path));
            copyItem->setData(0, FileRole, file.path);
            copyItem->setData(0, CopyRole, copy.path);
            for (const CRowDifference &table : copy.tables) {
                new QTreeWidgetItem(copyItem, {table.table, QString(),
                                               tr("%1 (%2 dans la copie seulement, %3 dans le fichier actuel seulement)")
                                                       .arg(table.total())
                                                       .arg(table.onlyInCopy)
                                                       .arg(table.onlyInCurrent)});
            }
            for (const CLineDifference &line : copy.lines) {
                new QTreeWidgetItem(copyItem, {line.line, QString(),
                                               line.inCopy ? tr("Dans la copie seulement")
                                                           : tr("Dans le fichier actuel seulement")});
            }
        }
    }
    m_tree->expandAll();

    m_restore = new QPushButton(tr("Restaurer"), this);
    m_restore->setObjectName(QStringLiteral("pbRestore"));
    auto *close = new QPushButton(tr("Fermer"), this);
    close->setObjectName(QStringLiteral("pbClose"));
    connect(m_restore, &QPushButton::clicked, this, &QDialog::accept);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_tree, &QTreeWidget::currentItemChanged, this, &CRestoreDialog::updateButton);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_restore);
    buttons->addWidget(close);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addWidget(m_tree);
    layout->addLayout(buttons);
    updateButton();
}

QString CRestoreDialog::dateText(const QDateTime &taken)
{
    return taken.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"));
}

QString CRestoreDialog::copyPath() const
{
    const QTreeWidgetItem *copy = copyItemOf(m_tree->currentItem());
    return copy ? copy->data(0, CopyRole).toString() : QString();
}

QString CRestoreDialog::filePath() const
{
    const QTreeWidgetItem *copy = copyItemOf(m_tree->currentItem());
    return copy ? copy->data(0, FileRole).toString() : QString();
}

void CRestoreDialog::updateButton()
{
    m_restore->setEnabled(!copyPath().isEmpty());
}
