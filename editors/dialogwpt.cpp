#include "editors/dialogwpt.h"
#include "ui_dialogwpt.h"

#include "app/navglobalvar.h"
#include "app/prompt.h"
#include "data/backup.h"
#include "editors/dialoglatlon.h"
#include "editors/editorstore.h"
#include "editors/markertitle.h"
#include "editors/updatefile.h"
#include "map/jstext.h"

#include <QDebug>
#include <QEvent>
#include <QSqlDatabase>
#include <QSqlQueryModel>

namespace {

QSqlDatabase wptDb()
{
    return QSqlDatabase::database(CNavGlobalVar::instance()->wptName);
}

} // namespace

CDialogWpt::CDialogWpt(double lat, double lon, QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::CDialogWpt)
{
    setup();
    setPosition(lat, lon);
    // A new waypoint's key starts as its country.
    ui->leUkey->setText(CWaypointRecord::keyForCountry(QString(), ui->cbCtry->currentText()));
    ready = true;
}

CDialogWpt::CDialogWpt(const QSqlQuery &qry, QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::CDialogWpt)
{
    setup();
    setData(qry);
    ready = true;
}

CDialogWpt::~CDialogWpt()
{
    delete ui;
}

void CDialogWpt::setup()
{
    ui->setupUi(this);
    ui->sbLat->installEventFilter(this);
    ui->sbLon->installEventFilter(this);
    // m_row starts with the values of a new waypoint: wloc 78, the rest
    // zero or empty.
    m_countries = new QSqlQueryModel(this);
    m_countries->setQuery(QStringLiteral("SELECT cuid FROM CTY"), QSqlDatabase::database(CNavGlobalVar::instance()->genName));
    ui->cbCtry->setModel(m_countries);
    ui->cbCtry->setCurrentIndex(m_countries->rowCount() > 0 ? 0 : -1);
}

void CDialogWpt::setPosition(double lat, double lon)
{
    ui->sbLat->setText(JsText::fixed(lat, 2));
    ui->sbLon->setText(JsText::fixed(lon, 2));
    ui->leTile->setText(QString::number(CNavGlobalVar::instance()->tileKey(lat, lon)));
}

QList<std::pair<QRadioButton *, int>> CDialogWpt::typeRadios() const
{
    return {{ui->rbUnNamed, 1}, {ui->rbNDB, 4}, {ui->rbNamed, 6}, {ui->rbOffRoute, 9}, {ui->rbVFR, 10}, {ui->rbRNAV, 12}};
}

QList<std::pair<QRadioButton *, int>> CDialogWpt::usageRadios() const
{
    // The captions "4 RNAV" and "5 TERMINAL" do not give their codes.
    return {{ui->rbHigh, 1}, {ui->rbLow, 2}, {ui->rbBoth, 3}, {ui->rbTerm, 4}, {ui->rbRnav, 5}, {ui->rbVFR_2, 6}};
}

int CDialogWpt::checkedCode(const QList<std::pair<QRadioButton *, int>> &radios)
{
    for (const auto &[radio, code] : radios)
        if (radio->isChecked())
            return code;
    return 0;
}

void CDialogWpt::checkCode(const QList<std::pair<QRadioButton *, int>> &radios, int code)
{
    // Auto-exclusive radios keep one checked: lift that while setting.
    for (const auto &[radio, c] : radios) {
        radio->setAutoExclusive(false);
        radio->setChecked(c == code);
    }
    for (const auto &[radio, c] : radios)
        radio->setAutoExclusive(true);
}

int CDialogWpt::codeToWrite(const QList<std::pair<QRadioButton *, int>> &radios, int stored)
{
    const int checked = checkedCode(radios);
    bool storedHasRadio = false;
    for (const auto &[radio, code] : radios)
        storedHasRadio = storedHasRadio || code == stored;
    // Unchanged since the form was filled: the stored code, even one
    // without a radio.
    return checked == (storedHasRadio ? stored : 0) ? stored : checked;
}

QString CDialogWpt::country() const
{
    return ui->cbCtry->currentIndex() >= 0 ? ui->cbCtry->currentText() : m_row.ctry;
}

void CDialogWpt::setData(const QSqlQuery &qry)
{
    m_row = CWaypointRecord::fromQuery(qry);
    m_openedKey = m_row.ukey;
    ui->leTile->setText(m_row.tile);
    ui->leIden->setText(m_row.iden);
    ui->leUkey->setText(m_row.ukey);
    ui->leName->setText(m_row.name);
    // A country outside the list selects no entry and is kept, shown in
    // place of one, until the user picks another.
    ui->cbCtry->setCurrentIndex(ui->cbCtry->findText(m_row.ctry, Qt::MatchExactly | Qt::MatchCaseSensitive));
    ui->cbCtry->setPlaceholderText(m_row.ctry);
    checkCode(typeRadios(), m_row.wtyp);
    checkCode(usageRadios(), m_row.wuse);
    ui->sbLat->setText(m_row.wlat);
    ui->sbLon->setText(m_row.wlon);
}

void CDialogWpt::on_cbCtry_currentIndexChanged(int index)
{
    Q_UNUSED(index);
    if (!ready)
        return;
    ui->leUkey->setText(CWaypointRecord::keyForCountry(ui->leUkey->text(), ui->cbCtry->currentText()));
}

bool CDialogWpt::eventFilter(QObject *object, QEvent *event)
{
    if ((object == ui->sbLat || object == ui->sbLon) && event->type() == QEvent::MouseButtonPress) {
        CDialogLatLon position;
        position.setLatLon(ui->sbLat->text().toDouble(), ui->sbLon->text().toDouble());
        if (prompt().execDialog(&position) == QDialog::Accepted) {
            setPosition(position.lat, position.lon);
            return true;
        }
        return false;
    }
    return QDialog::eventFilter(object, event);
}

void CDialogWpt::on_leName_textEdited(QString arg1)
{
    const QString name = arg1.toUpper();
    if (ui->leName->text() != name)
        ui->leName->setText(name);
    ui->leIden->setText(CWaypointRecord::identForName(name));
    ui->leUkey->setText(CWaypointRecord::keyForName(name, country()));
}

CWaypointRecord CDialogWpt::formRecord() const
{
    CWaypointRecord r = m_row;
    r.tile = ui->leTile->text();
    r.iden = ui->leIden->text();
    r.ukey = ui->leUkey->text();
    r.name = ui->leName->text();
    r.ctry = country();
    r.wtyp = codeToWrite(typeRadios(), m_row.wtyp);
    r.wuse = codeToWrite(usageRadios(), m_row.wuse);
    r.wlat = ui->sbLat->text();
    r.wlon = ui->sbLon->text();
    return r;
}

void CDialogWpt::on_pbOK_clicked()
{
    const CWaypointRecord row = formRecord();
    const QString name = row.name;

    // A waypoint without a key cannot be found again (nor deleted) from its marker.
    if (row.ukey.trimmed().isEmpty()) {
        prompt().warn(tr("Nouveau WAYPOINT"), tr("La clé unique est vide.\nSaisissez le nom ou la clé du waypoint."));
        return;
    }

    // REPLACE would silently take the place of another waypoint of that key.
    if (row.ukey != m_openedKey && CEditorStore::keyExists(wptDb(), QStringLiteral("WPT"), row.ukey) == 1) {
        const QString answer = prompt().ask(CPrompt::Question, tr("Nouveau WAYPOINT"),
                                            tr("Le waypoint %1 existe déjà.\nVoulez vous le remplacer ?").arg(row.ukey),
                                            {CPrompt::Yes, CPrompt::No});
        if (answer != CPrompt::Yes)
            return;
    }

    if (ui->cbUpdateDB->isChecked()) {
        // No change to the simulator's database without a copy of it.
        if (!CBackup::confirmConnection(CNavGlobalVar::instance()->wptName))
            return;
        QString error;
        if (!CEditorStore::replaceWaypoint(wptDb(), row, &error)) {
            // Nothing else happens: no update file, no marker, and the
            // dialog stays open with what was typed.
            qWarning() << "CDialogWpt::on_pbOK_clicked REPLACE:" << error;
            prompt().warn(tr("Nouveau WAYPOINT: mise à jour"),
                          tr("Une erreur s'est produite\n pendant la modification/ajout de %1 dans la base WPT.db :\n%2")
                                  .arg(name, error));
            return;
        }
        prompt().inform(tr("Nouveau WAYPOINT"), tr("%1 a été modifié/ajouté à la base WPT.db").arg(name));
    }

    if (ui->cbSaveCSV->isChecked()) {
        if (exportToCSV(row.wtyp, row.wuse))
            prompt().inform(tr("Nouveau WAYPOINT: export"),
                            tr("Le fichier d'export pour %1\na été enregistré dans %2").arg(name, m_exportPath));
        else
            prompt().warn(tr("Nouveau WAYPOINT: export"),
                          tr("Le fichier d'export pour %1\nn'a pas pu être enregistré dans %2").arg(name, m_exportPath));
    }

    mapCommand = row.mapCommand(CMarkerTitle::longerKeys(wptDb(), QStringLiteral("WPT"), row.ukey));
    accept();
}

void CDialogWpt::on_pbCancel_clicked()
{
    reject();
}

bool CDialogWpt::exportToCSV(int wtyp, int wuse)
{
    CWaypointRecord row = formRecord();
    row.wtyp = wtyp;
    row.wuse = wuse;
    m_exportPath = UpdateFile::path(row.name);
    if (!UpdateFile::recordable(row.values())) {
        qWarning() << "CDialogWpt::exportToCSV: a value cannot be written in an update record";
        return false;
    }
    QString error;
    if (!UpdateFile::write(m_exportPath, row.updateRecord(), &error)) {
        qWarning() << "CDialogWpt::exportToCSV" << m_exportPath << error;
        return false;
    }
    return true;
}
