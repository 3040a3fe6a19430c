#include "editors/dialoglatlon.h"
#include "ui_dialoglatlon.h"

#include <cmath>

CDialogLatLon::CDialogLatLon(QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::CDialogLatLon)
{
    ui->setupUi(this);
}

CDialogLatLon::~CDialogLatLon()
{
    delete ui;
}

void CDialogLatLon::setLatLon(double latitude, double longitude)
{
    m_entry.setLatLon(latitude, longitude);
    lat = m_entry.lat;
    lon = m_entry.lon;

    ui->edLat->setText(m_entry.latText());
    ui->edLat_2->setText(m_entry.latDegreesText());
    ui->cbNS->setCurrentIndex(m_entry.south ? 1 : 0);
    ui->sbLatDeg->setValue(m_entry.latDms.degrees);
    limitLatitudeFields(ui->sbLatDeg->value());
    ui->sbLatMin->setValue(m_entry.latDms.minutes);
    ui->sbLatSec->setValue(m_entry.latDms.seconds);

    ui->edLon->setText(m_entry.lonText());
    ui->edLon_2->setText(m_entry.lonDegreesText());
    ui->cbEW->setCurrentIndex(m_entry.west ? 1 : 0);
    ui->sbLonDeg->setValue(m_entry.lonDms.degrees);
    ui->sbLonMin->setValue(m_entry.lonDms.minutes);
    ui->sbLonSec->setValue(m_entry.lonDms.seconds);
}

void CDialogLatLon::updateLat(double magnitude)
{
    m_entry.updateLat(magnitude, ui->cbNS->currentIndex() == 1);
    lat = m_entry.lat;
    ui->edLat->setText(m_entry.latText());
    ui->edLat_2->setText(m_entry.latDegreesText());
}

void CDialogLatLon::limitLatitudeFields(int degrees)
{
    // Lowering a maximum brings the value down with it; the fields without
    // the focus recompute nothing.
    const bool pole = degrees >= 90;
    ui->sbLatMin->setMaximum(pole ? 0 : 59);
    ui->sbLatSec->setMaximum(pole ? 0 : 60);
}

void CDialogLatLon::updateLon(double value)
{
    m_entry.updateLon(value, ui->cbEW->currentIndex() == 1);
    lon = m_entry.lon;
    ui->edLon->setText(m_entry.lonText());
    ui->edLon_2->setText(m_entry.lonDegreesText());
}

void CDialogLatLon::on_sbLatDeg_valueChanged(int arg1)
{
    if (!ui->sbLatDeg->hasFocus())
        return;
    limitLatitudeFields(arg1);
    updateLat(CLatLonEntry::magnitude(arg1, ui->sbLatMin->value(), ui->sbLatSec->value()));
}

void CDialogLatLon::on_sbLatMin_valueChanged(int arg1)
{
    if (ui->sbLatMin->hasFocus())
        updateLat(CLatLonEntry::magnitude(ui->sbLatDeg->value(), arg1, ui->sbLatSec->value()));
}

void CDialogLatLon::on_sbLatSec_valueChanged(double arg1)
{
    if (ui->sbLatSec->hasFocus())
        updateLat(CLatLonEntry::magnitude(ui->sbLatDeg->value(), ui->sbLatMin->value(), arg1));
}

void CDialogLatLon::on_sbLonDeg_valueChanged(int arg1)
{
    if (ui->sbLonDeg->hasFocus())
        updateLon(CLatLonEntry::magnitude(arg1, ui->sbLonMin->value(), ui->sbLonSec->value()));
}

void CDialogLatLon::on_sbLonMin_valueChanged(int arg1)
{
    if (ui->sbLonMin->hasFocus())
        updateLon(CLatLonEntry::magnitude(ui->sbLonDeg->value(), arg1, ui->sbLonSec->value()));
}

void CDialogLatLon::on_sbLonSec_valueChanged(double arg1)
{
    if (ui->sbLonSec->hasFocus())
        updateLon(CLatLonEntry::magnitude(ui->sbLonDeg->value(), ui->sbLonMin->value(), arg1));
}

void CDialogLatLon::on_cbEW_currentIndexChanged(int index)
{
    Q_UNUSED(index);
    if (ui->cbEW->hasFocus())
        updateLon(ui->edLon->text().toDouble());
}

void CDialogLatLon::on_cbNS_currentIndexChanged(int index)
{
    Q_UNUSED(index);
    if (ui->cbNS->hasFocus())
        updateLat(std::abs(ui->edLat->text().toDouble()));
}
