#pragma once

#include "editors/latlonentry.h"

#include <QDialog>

namespace Ui {
class CDialogLatLon;
}

// Entry of a position in arc-seconds through hemisphere, degrees, minutes
// and seconds. The editors fill it with setLatLon, run it, and read `lat`
// and `lon` once it is accepted.
class CDialogLatLon : public QDialog
{
    Q_OBJECT

public:
    explicit CDialogLatLon(QWidget *parent = nullptr);
    ~CDialogLatLon() override;

    void setLatLon(double latitude, double longitude);

    // Arc-seconds, north and east positive.
    double lat = 0;
    double lon = 0;

private slots:
    // Each acts only while its own field has the keyboard focus, so filling
    // the fields recomputes nothing.
    void on_sbLatDeg_valueChanged(int arg1);
    void on_sbLatMin_valueChanged(int arg1);
    void on_sbLatSec_valueChanged(double arg1);
    void on_sbLonDeg_valueChanged(int arg1);
    void on_sbLonMin_valueChanged(int arg1);
    void on_sbLonSec_valueChanged(double arg1);
    void on_cbEW_currentIndexChanged(int index);
    void on_cbNS_currentIndexChanged(int index);

private:
    void updateLat(double magnitude);
    // At 90 degrees the minutes and seconds can only be 0.
    void limitLatitudeFields(int degrees);
    void updateLon(double value);

    Ui::CDialogLatLon *ui;
    CLatLonEntry m_entry;
};
