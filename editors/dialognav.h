#pragma once

#include "editors/navaidrecord.h"

#include <QDialog>
#include <QSqlQuery>

class QSqlQueryModel;

namespace Ui {
class CDialogNav;
}

// Creates a navaid at a map position (new mode) or changes a NAV row
// (modify mode). OK writes the row, optionally its update file, and leaves
// the command that puts its marker on the map in `mapCommand`.
class CDialogNav : public QDialog
{
    Q_OBJECT

public:
    // New mode: latitude and longitude in arc-seconds.
    CDialogNav(double lat, double lon, QWidget *parent = nullptr);
    // Modify mode: the query stands on a NAV row (SELECT *).
    CDialogNav(const QSqlQuery &qry, QWidget *parent = nullptr);
    ~CDialogNav() override;

    // Writes the update file of the row on the form; false when it could
    // not be written.
    bool exportToCSV(int ntyp, int nuse);
    // The path the last export wrote to.
    QString exportPath() const { return m_exportPath; }

    // Empty until OK; then the script the caller sends to the map page
    // (possibly still empty).
    QString mapCommand;

public slots:
    void on_cbCtry_currentIndexChanged(int index);
    bool eventFilter(QObject *object, QEvent *event) override;
    void setData(const QSqlQuery &qry);
    void updateButton(int id);
    void on_pbOK_clicked();
    void on_pbCancel_clicked();
    void on_leIden_textEdited(QString arg1);

private:
    void setup();
    void finishSetup();
    // The key follows the ident, the type and the country.
    void buildKey(const QString &ident);
    void setPosition(double lat, double lon);
    CNavaidRecord::Type checkedType() const;
    CNavaidRecord::Usage checkedUsage() const;
    void checkType(CNavaidRecord::Type type);
    void checkUsage(CNavaidRecord::Usage usage);
    // The country picked, or, while none is, the stored one.
    QString country() const;
    // The row as the form and the carried values make it.
    CNavaidRecord formRecord() const;

    Ui::CDialogNav *ui;
    QSqlQueryModel *m_countries = nullptr;
    // Values of the row the form does not show, and, in modify mode, the
    // key of the row opened (which OK may write over).
    CNavaidRecord m_row;
    QString m_openedKey;
    QString m_exportPath;
    bool ready = false;
};
