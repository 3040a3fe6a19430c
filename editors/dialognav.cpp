#include "editors/dialognav.h"
#include "ui_dialognav.h"

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

QSqlDatabase gen()
{
    return QSqlDatabase::database(CNavGlobalVar::instance()->genName);
}

} // namespace

CDialogNav::CDialogNav(double lat, double lon, QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::CDialogNav)
{
    setup();
    setPosition(lat, lon);
    // What the form does not show starts at zero and empty (m_row's defaults).
    finishSetup();
}

CDialogNav::CDialogNav(const QSqlQuery &qry, QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::CDialogNav)
{
    setup();
    setData(qry);
    finishSetup();
}

CDialogNav::~CDialogNav()
{
    delete ui;
}

void CDialogNav::setup()
{
    ui->setupUi(this);
    ui->sbLat->installEventFilter(this);
    ui->sbLon->installEventFilter(this);
    ready = false;
    m_countries = new QSqlQueryModel(this);
    m_countries->setQuery(QStringLiteral("SELECT cuid FROM CTY"), gen());
    ui->cbCtry->setModel(m_countries);
    ui->cbCtry->setCurrentIndex(m_countries->rowCount() > 0 ? 0 : -1);
}

void CDialogNav::finishSetup()
{
    connect(ui->buttonGroup, &QButtonGroup::idClicked, this, &CDialogNav::updateButton);
    ready = true;
}

void CDialogNav::setPosition(double lat, double lon)
{
    ui->sbLat->setText(JsText::fixed(lat, 2));
    ui->sbLon->setText(JsText::fixed(lon, 2));
    ui->leTile->setText(QString::number(CNavGlobalVar::instance()->tileKey(lat, lon)));
}

void CDialogNav::setData(const QSqlQuery &qry)
{
    m_row = CNavaidRecord::fromQuery(qry);
    m_openedKey = m_row.ukey;
    ui->leTile->setText(m_row.tile);
    ui->leUkey->setText(m_row.ukey);
    ui->leIden->setText(m_row.iden);
    ui->leName->setText(m_row.name);
    ui->sbFreq->setValue(m_row.nfrq);
    // A country outside the list selects no entry and is kept, shown in
    // place of one, until the user picks another.
    ui->cbCtry->setCurrentIndex(ui->cbCtry->findText(m_row.ctry, Qt::MatchExactly | Qt::MatchCaseSensitive));
    ui->cbCtry->setPlaceholderText(m_row.ctry);
    checkType(CNavaidRecord::typeOfCode(m_row.ntyp));
    checkUsage(CNavaidRecord::usageOfCode(m_row.nuse));
    ui->sbLat->setText(m_row.nlat);
    ui->sbLon->setText(m_row.nlon);
}

CNavaidRecord::Type CDialogNav::checkedType() const
{
    if (ui->rbVOR->isChecked())
        return CNavaidRecord::Vor;
    if (ui->rbTACAN->isChecked())
        return CNavaidRecord::Tacan;
    if (ui->rbNDB->isChecked())
        return CNavaidRecord::Ndb;
    if (ui->rbVORDME->isChecked())
        return CNavaidRecord::VorDme;
    if (ui->rbNDBDME->isChecked())
        return CNavaidRecord::NdbDme;
    return CNavaidRecord::NoType;
}

CNavaidRecord::Usage CDialogNav::checkedUsage() const
{
    if (ui->rbHigh->isChecked())
        return CNavaidRecord::High;
    if (ui->rbLow->isChecked())
        return CNavaidRecord::Low;
    if (ui->rbBoth->isChecked())
        return CNavaidRecord::Both;
    if (ui->rbTerm->isChecked())
        return CNavaidRecord::Terminal;
    if (ui->rbRnav->isChecked())
        return CNavaidRecord::Rnav;
    return CNavaidRecord::NoUsage;
}

void CDialogNav::checkType(CNavaidRecord::Type type)
{
    // An exclusive group keeps one button checked: lift that while clearing.
    ui->buttonGroup->setExclusive(false);
    ui->rbVOR->setChecked(type == CNavaidRecord::Vor);
    ui->rbTACAN->setChecked(type == CNavaidRecord::Tacan);
    ui->rbNDB->setChecked(type == CNavaidRecord::Ndb);
    ui->rbVORDME->setChecked(type == CNavaidRecord::VorDme);
    ui->rbNDBDME->setChecked(type == CNavaidRecord::NdbDme);
    ui->buttonGroup->setExclusive(true);
}

void CDialogNav::checkUsage(CNavaidRecord::Usage usage)
{
    const std::pair<QRadioButton *, CNavaidRecord::Usage> radios[] = {
        {ui->rbHigh, CNavaidRecord::High}, {ui->rbLow, CNavaidRecord::Low}, {ui->rbBoth, CNavaidRecord::Both},
        {ui->rbTerm, CNavaidRecord::Terminal}, {ui->rbRnav, CNavaidRecord::Rnav}};
    for (const auto &[radio, u] : radios) {
        radio->setAutoExclusive(false);
        radio->setChecked(u == usage);
    }
    for (const auto &[radio, u] : radios)
        radio->setAutoExclusive(true);
}

QString CDialogNav::country() const
{
    return ui->cbCtry->currentIndex() >= 0 ? ui->cbCtry->currentText() : m_row.ctry;
}

void CDialogNav::on_cbCtry_currentIndexChanged(int index)
{
    Q_UNUSED(index);
    buildKey(ui->leIden->text());
}

bool CDialogNav::eventFilter(QObject *object, QEvent *event)
{
    if ((object == ui->sbLat || object == ui->sbLon) && event->type() == QEvent::MouseButtonPress) {
        CDialogLatLon position;
        position.setLatLon(ui->sbLat->text().toDouble(), ui->sbLon->text().toDouble());
        if (prompt().execDialog(&position) == QDialog::Accepted)
            setPosition(position.lat, position.lon);
        return true;
    }
    return QDialog::eventFilter(object, event);
}

void CDialogNav::updateButton(int id)
{
    Q_UNUSED(id);
    buildKey(ui->leIden->text());
}

void CDialogNav::on_leIden_textEdited(QString arg1)
{
    buildKey(arg1);
}

void CDialogNav::buildKey(const QString &ident)
{
    if (!ready)
        return;
    const QString upper = ident.toUpper();
    if (ui->leIden->text() != upper)
        ui->leIden->setText(upper);
    const QString prefix = CNavaidRecord::keyPrefix(country(), m_row.keyDigitFor(checkedType()), upper);
    const CEditorStore::KeyProposal proposal = CEditorStore::proposeNavaidKey(gen(), prefix);
    if (!proposal.ok) {
        qWarning() << "CDialogNav::buildKey: no key for" << prefix;
        return;
    }
    if (proposal.existing > 0) {
        const QString answer = prompt().ask(CPrompt::Question, tr("Nouveau NAVAID"),
                                            tr("Le navaid %1 existe déja.\nVoulez vous continuer ?").arg(upper),
                                            {CPrompt::Yes, CPrompt::No});
        if (answer != CPrompt::Yes)
            return;
    }
    ui->leUkey->setText(proposal.key);
}

CNavaidRecord CDialogNav::formRecord() const
{
    CNavaidRecord r = m_row;
    r.tile = ui->leTile->text();
    r.ukey = ui->leUkey->text();
    r.iden = ui->leIden->text();
    r.name = ui->leName->text();
    r.nfrq = ui->sbFreq->value();
    r.ctry = country();
    // What the form has no radio for stays as stored.
    r.ntyp = CNavaidRecord::typeToWrite(m_row.ntyp, checkedType());
    const CNavaidRecord::Usage usage = checkedUsage();
    r.nuse = usage == CNavaidRecord::usageOfCode(m_row.nuse) ? m_row.nuse : CNavaidRecord::usageCode(usage);
    r.nlat = ui->sbLat->text();
    r.nlon = ui->sbLon->text();
    return r;
}

void CDialogNav::on_pbOK_clicked()
{
    const CNavaidRecord row = formRecord();
    const QString name = row.name;

    if (!CNavaidRecord::frequencyInRange(row.ntyp, row.nfrq)) {
        if (CNavaidRecord::isNdbCode(row.ntyp))
            prompt().warn(tr("Création NDB"), tr("La fréquence doit être comprise entre 180 et 1750 Khz."));
        else
            prompt().warn(tr("Création VOR"), tr("La fréquence doit être comprise entre 108.000 et 117.95 Mhz."));
        return;
    }

    // A navaid without a key cannot be found again (nor deleted) from its marker.
    if (row.ukey.isEmpty()) {
        prompt().warn(tr("Nouveau NAVAID"), tr("La clé unique est vide.\nSaisissez l'identifiant du navaid."));
        return;
    }

    // REPLACE would silently take the place of another navaid of that key.
    if (row.ukey != m_openedKey && CEditorStore::keyExists(gen(), QStringLiteral("NAV"), row.ukey) == 1) {
        prompt().warn(tr("Nouveau NAVAID"),
                      tr("La clé %1 est déjà celle d'un autre navaid.\nChangez l'identifiant, le type ou le pays.")
                              .arg(row.ukey));
        return;
    }

    if (ui->cbUpdateDB->isChecked()) {
        // No change to the simulator's database without a copy of it.
        if (!CBackup::confirmConnection(CNavGlobalVar::instance()->genName))
            return;
        QString error;
        if (!CEditorStore::replaceNavaid(gen(), row, &error)) {
            // Nothing else happens: no update file, no marker, and the
            // dialog stays open with what was typed.
            qWarning() << "CDialogNav::on_pbOK_clicked REPLACE:" << error;
            prompt().warn(tr("Nouveau NAVAID: mise à jour"),
                          tr("Une erreur s'est produite pendant la modification/ajout de %1 dans la base GEN.db :\n%2")
                                  .arg(name, error));
            return;
        }
        prompt().inform(tr("Nouveau NAVAID"), tr("%1 a été modifié/ajouté à la base GEN.db").arg(name));
    }

    if (ui->cbSaveCSV->isChecked()) {
        if (exportToCSV(row.ntyp, row.nuse))
            prompt().inform(tr("Nouveau NAVAID: export"),
                            tr("Le fichier d'export pour %1\na été enregistré dans %2").arg(name, m_exportPath));
        else
            prompt().warn(tr("Nouveau NAVAID: export"),
                          tr("Le fichier d'export pour %1\nn'a pas pu être enregistré dans %2").arg(name, m_exportPath));
    }

    mapCommand = row.mapCommand(CMarkerTitle::longerKeys(gen(), QStringLiteral("NAV"), row.ukey));
    accept();
}

void CDialogNav::on_pbCancel_clicked()
{
    reject();
}

bool CDialogNav::exportToCSV(int ntyp, int nuse)
{
    CNavaidRecord row = formRecord();
    row.ntyp = ntyp;
    row.nuse = nuse;
    m_exportPath = UpdateFile::path(row.name);
    if (!UpdateFile::recordable(row.values())) {
        qWarning() << "CDialogNav::exportToCSV: a value cannot be written in an update record";
        return false;
    }
    QString error;
    if (!UpdateFile::write(m_exportPath, row.updateRecord(), &error)) {
        qWarning() << "CDialogNav::exportToCSV" << m_exportPath << error;
        return false;
    }
    return true;
}
