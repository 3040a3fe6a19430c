#pragma once

#include "editors/waypointrecord.h"

#include <QDialog>
#include <QSqlQuery>

class QRadioButton;
class QSqlQueryModel;

namespace Ui {
class CDialogWpt;
}

// Creates a waypoint at a map position (new mode) or changes a WPT row
// (modify mode). OK writes the row, optionally its update file, and leaves
// the command that puts its marker on the map in `mapCommand`.
class CDialogWpt : public QDialog
{
    Q_OBJECT

public:
    // New mode: latitude and longitude in arc-seconds.
    CDialogWpt(double lat, double lon, QWidget *parent = nullptr);
    // Modify mode: the query stands on a WPT row (SELECT *).
    CDialogWpt(const QSqlQuery &qry, QWidget *parent = nullptr);
    ~CDialogWpt() override;

    // Writes the update file of the row on the form; false when it could
    // not be written.
    bool exportToCSV(int wtyp, int wuse);
    QString exportPath() const { return m_exportPath; }

    QString mapCommand;

public slots:
    void on_cbCtry_currentIndexChanged(int index);
    bool eventFilter(QObject *object, QEvent *event) override;
    void setData(const QSqlQuery &qry);
    void on_pbOK_clicked();
    void on_pbCancel_clicked();
    void on_leName_textEdited(QString arg1);

private:
    void setup();
    void setPosition(double lat, double lon);
    QList<std::pair<QRadioButton *, int>> typeRadios() const;
    QList<std::pair<QRadioButton *, int>> usageRadios() const;
    static int checkedCode(const QList<std::pair<QRadioButton *, int>> &radios);
    static void checkCode(const QList<std::pair<QRadioButton *, int>> &radios, int code);
    // The code of the checked radio, or the stored code while the radios
    // are as the stored one left them (a code without a radio is kept).
    static int codeToWrite(const QList<std::pair<QRadioButton *, int>> &radios, int stored);
    // The country picked, or, while none is, the stored one.
    QString country() const;
    CWaypointRecord formRecord() const;

    Ui::CDialogWpt *ui;
    QSqlQueryModel *m_countries = nullptr;
    CWaypointRecord m_row;   // the carried values
    QString m_openedKey;     // modify mode: the key of the row opened
    QString m_exportPath;
    // False while the form is being filled: the key then stays as stored.
    bool ready = false;
};
