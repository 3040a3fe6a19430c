// The navaid, waypoint and position dialogs and the four window slots that
// open them or delete from the map, on the demo tree: every box through the
// scripted prompt, every script sent to the page, every row read back.

#include "app/navglobalvar.h"
#include "editors/dialoglatlon.h"
#include "editors/dialognav.h"
#include "editors/dialogwpt.h"
#include "editors/updatefile.h"
#include "flightplan/flightplan.h"
#include "tests/support/windowfixture.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>

#include <functional>

namespace {

const QString Hostile = QStringLiteral("O'Hare \"Intl\" </script>");
const QString Erase = QStringLiteral("Effacer");
const QString EraseExport = QStringLiteral("Effacer\n& Exporter");
const QString Cancel = QStringLiteral("Annuler");

template <class T>
T *child(QObject *parent, const char *name)
{
    T *c = parent->findChild<T *>(QString::fromLatin1(name));
    if (!c)
        qFatal("no widget %s", name);
    return c;
}

QLineEdit *edit(QObject *d, const char *name) { return child<QLineEdit>(d, name); }
QRadioButton *radio(QObject *d, const char *name) { return child<QRadioButton>(d, name); }

void setCountry(QDialog *d, const QString &country)
{
    auto *combo = child<QComboBox>(d, "cbCtry");
    combo->setCurrentIndex(combo->findText(country));
}

void pressOn(QWidget *w)
{
    QTest::mousePress(w, Qt::LeftButton);
}

} // namespace

class TestEditorsWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void newNavaidFromMapPoint();
    void navaidKeyBuilderAsks_data();
    void navaidKeyBuilderAsks();
    void navaidFrequencyLimits_data();
    void navaidFrequencyLimits();
    void navaidNeverOverwritesAnother();
    void modifyStoredTacan();
    void modifyKeepsStoredType_data();
    void modifyKeepsStoredType();
    void modifyChangingIdentWritesNewRow();
    void hostileNavaidWithExport();
    void navaidExportFailureIsReported();
    void replaceFailureKeepsDialogOpen_data();
    void replaceFailureKeepsDialogOpen();
    void cancelLeavesEverything_data();
    void cancelLeavesEverything();
    void modifyNotFound_data();
    void modifyNotFound();

    void positionFromEditors_data();
    void positionFromEditors();
    void latLonDialogForm();
    void latLonDialogFocusRule();
    void latLonDialogLongitude();

    void newWaypoint();
    void waypointRadios_data();
    void waypointRadios();
    void waypointModifyKeepsKey();
    void unknownCountryKept_data();
    void unknownCountryKept();
    void waypointVfrWritesBack();
    void waypointEmptyKeyRefused();
    void waypointKeyTakenAsks_data();
    void waypointKeyTakenAsks();

    void deletion_data();
    void deletion();
    void titlesWithDashes();
    void deletionNotFound_data();
    void deletionNotFound();
    void deletionEmptyTitle();
    void deletionFailure_data();
    void deletionFailure();
    void deletionExportFailure_data();
    void deletionExportFailure();

private:
    using Fill = std::function<void(QDialog *)>;
    // The next editor dialog is answered by `fill`, which clicks OK or
    // Cancel; position dialogs by `m_position`.
    void answerEditor(Fill fill);
    std::function<int(CDialogLatLon *)> m_position;
    QSqlDatabase gen() const { return QSqlDatabase::database(CNavGlobalVar::instance()->genName); }
    QSqlDatabase wpt() const { return QSqlDatabase::database(CNavGlobalVar::instance()->wptName); }
    bool exec(const QSqlDatabase &db, const QString &sql);
    QStringList row(const QSqlDatabase &db, const QString &table, const QString &key) const;
    int count(const QSqlDatabase &db, const QString &table) const;
    QString dataFile(const QString &name) const { return m_fx->programDir() + QStringLiteral("/Data/") + name; }
    QByteArray readFile(const QString &path) const;
    // Message boxes only (the dialog records left out).
    QList<ScriptedPrompt::Record> boxes() const;
    void blockDataFolder();

    WindowFixture *m_fx = nullptr;
    MainWindow *m_w = nullptr;
    int m_dialogs = 0;
};

void TestEditorsWindow::init()
{
    m_fx = new WindowFixture;
    QVERIFY(m_fx->prepareDemo());
    m_w = m_fx->start(false);
    QVERIFY(m_w);
    UpdateFile::setProgramDir(m_fx->programDir());
    m_fx->scripts.clear();
    m_fx->prompt.records.clear();
    m_position = nullptr;
    m_dialogs = 0;
}

void TestEditorsWindow::cleanup()
{
    UpdateFile::setProgramDir(QString());
    delete m_fx;
    m_fx = nullptr;
    m_w = nullptr;
}

void TestEditorsWindow::answerEditor(Fill fill)
{
    m_fx->prompt.dialogHandler = [this, fill](QObject *o) -> int {
        if (auto *position = qobject_cast<CDialogLatLon *>(o))
            return m_position ? m_position(position) : int(QDialog::Rejected);
        auto *d = qobject_cast<QDialog *>(o);
        if (!d)
            return QDialog::Rejected;
        ++m_dialogs;
        fill(d);
        return d->result();
    };
}

bool TestEditorsWindow::exec(const QSqlDatabase &db, const QString &sql)
{
    QSqlQuery q(db);
    return q.exec(sql);
}

QStringList TestEditorsWindow::row(const QSqlDatabase &db, const QString &table, const QString &key) const
{
    QSqlQuery q(db);
    q.prepare(QStringLiteral("SELECT * FROM %1 WHERE ukey = ?").arg(table));
    q.addBindValue(key);
    QStringList out;
    if (!q.exec() || !q.next())
        return out;
    for (int i = 0; i < q.record().count(); ++i)
        out << q.value(i).toString();
    return out;
}

int TestEditorsWindow::count(const QSqlDatabase &db, const QString &table) const
{
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("SELECT COUNT(*) FROM ") + table) || !q.next())
        return -1;
    return q.value(0).toInt();
}

QByteArray TestEditorsWindow::readFile(const QString &path) const
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

QList<ScriptedPrompt::Record> TestEditorsWindow::boxes() const
{
    QList<ScriptedPrompt::Record> out;
    for (const ScriptedPrompt::Record &r : m_fx->prompt.records)
        if (r.kind == QLatin1String("message"))
            out << r;
    return out;
}

void TestEditorsWindow::blockDataFolder()
{
    QDir(m_fx->programDir() + QStringLiteral("/Data")).removeRecursively();
    QFile blocker(m_fx->programDir() + QStringLiteral("/Data"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
}

// --- navaid editor ---

void TestEditorsWindow::newNavaidFromMapPoint()
{
    const int tile = CNavGlobalVar::instance()->tileKey(174600, 1287900);
    answerEditor([&](QDialog *d) {
        QVERIFY(qobject_cast<CDialogNav *>(d));
        QCOMPARE(d->windowTitle(), QStringLiteral("NAVAID"));
        QCOMPARE(d->parent(), m_w);
        // The position from longitude -2.25: east-positive arc-seconds.
        QCOMPARE(edit(d, "sbLat")->text(), QStringLiteral("174600.00"));
        QCOMPARE(edit(d, "sbLon")->text(), QStringLiteral("1287900.00"));
        QVERIFY(edit(d, "sbLat")->isReadOnly());
        QVERIFY(edit(d, "sbLon")->isReadOnly());
        QCOMPARE(edit(d, "leTile")->text(), QString::number(tile));
        QVERIFY(edit(d, "leTile")->isReadOnly());
        QVERIFY(edit(d, "leUkey")->isReadOnly());
        QVERIFY(edit(d, "leUkey")->text().isEmpty());
        QCOMPARE(edit(d, "leIden")->maxLength(), 5);
        auto *freq = child<QDoubleSpinBox>(d, "sbFreq");
        QCOMPARE(freq->decimals(), 3);
        QCOMPARE(freq->minimum(), 108.0);
        QCOMPARE(freq->maximum(), 1750.0);
        QCOMPARE(freq->singleStep(), 0.025);
        QVERIFY(freq->alignment() & Qt::AlignRight);
        QCOMPARE(child<QComboBox>(d, "cbCtry")->currentText(), QStringLiteral("AT"));
        QVERIFY(radio(d, "rbVOR")->isChecked());
        QVERIFY(radio(d, "rbBoth")->isChecked());
        QCOMPARE(child<QButtonGroup>(d, "buttonGroup")->buttons().size(), 5);
        QVERIFY(child<QButtonGroup>(d, "buttonGroup")->buttons().contains(radio(d, "rbNDBDME")));
        QVERIFY(!child<QButtonGroup>(d, "buttonGroup")->buttons().contains(radio(d, "rbHigh")));
        QVERIFY(child<QCheckBox>(d, "cbUpdateDB")->isChecked());
        QVERIFY(!child<QCheckBox>(d, "cbUpdateDB")->isEnabled());
        QVERIFY(!child<QCheckBox>(d, "cbSaveCSV")->isChecked());
        QVERIFY(!child<QPushButton>(d, "pbCancel")->autoDefault());
        QCOMPARE(radio(d, "rbVORDME")->text(), QStringLiteral("VOR DME"));
        QCOMPARE(radio(d, "rbTerm")->text(), QStringLiteral("Terminal"));

        setCountry(d, QStringLiteral("FR"));
        // Typed in lower case, shown and stored in capitals.
        QTest::keyClicks(edit(d, "leIden"), QStringLiteral("tst"));
        QCOMPARE(edit(d, "leIden")->text(), QStringLiteral("TST"));
        QCOMPARE(edit(d, "leUkey")->text(), QStringLiteral("FR1TST1"));
        edit(d, "leName")->setText(QStringLiteral("TEST VOR"));
        child<QDoubleSpinBox>(d, "sbFreq")->setValue(113.25);
        child<QPushButton>(d, "pbOK")->click();
    });
    m_w->sAddNavToDB(QString(), 48.5, -2.25);
    QCOMPARE(m_dialogs, 1);

    const QList<ScriptedPrompt::Record> shown = boxes();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].icon, CPrompt::Information);
    QCOMPARE(shown[0].title, QStringLiteral("Nouveau NAVAID"));
    QCOMPARE(shown[0].text, QStringLiteral("TEST VOR a été modifié/ajouté à la base GEN.db"));
    QCOMPARE(shown[0].buttons, QStringList{CPrompt::Ok});

    const QStringList expected{QString::number(tile), "FR1TST1", "TST", "TEST VOR", "113.25", "0", "0", "FR", "",
                               "1", "0", "3", "174600", "1287900", "0", "0", "0"};
    QCOMPARE(row(gen(), QStringLiteral("NAV"), QStringLiteral("FR1TST1")), expected);
    QCOMPARE(m_fx->scripts,
             QStringList{QStringLiteral("addVORMarker2(new google.maps.LatLng(48.50000,-2.25000),\"TEST VOR-FR1TST1\",1,"
                                        "\"<font color=blue><b>VOR TST</b><font color=black><br/>TEST VOR<br/>113.250 Mhz"
                                        "<br/>48 30' 00.00 N - 002 15' 00.00 W\",\"FR1TST1\")")});
    // No update file unless asked.
    QVERIFY(!QFileInfo::exists(dataFile(QStringLiteral("TEST VOR.CSV"))));
}

void TestEditorsWindow::navaidKeyBuilderAsks_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("key");

    QTest::newRow("yes: one more than FR1PGS10") << CPrompt::Yes << "FR1PGS11";
    QTest::newRow("no: key unchanged") << CPrompt::No << "FR1PG1";
    QTest::newRow("box closed: key unchanged") << QString() << "FR1PG1";
}

void TestEditorsWindow::navaidKeyBuilderAsks()
{
    QFETCH(QString, answer);
    QFETCH(QString, key);
    for (int i = 1; i <= 10; ++i)
        QVERIFY(exec(gen(), QStringLiteral("INSERT INTO NAV (tile, ukey, iden, name) VALUES (0, 'FR1PGS%1', 'PGS', 'P')")
                                    .arg(i)));
    m_fx->prompt.answers = {answer};
    answerEditor([&](QDialog *d) {
        setCountry(d, QStringLiteral("FR"));
        QTest::keyClicks(edit(d, "leIden"), QStringLiteral("pgs"));
        QCOMPARE(edit(d, "leUkey")->text(), key);
        child<QPushButton>(d, "pbCancel")->click();
    });
    m_w->sAddNavToDB(QString(), 48.5, 2.25);
    const QList<ScriptedPrompt::Record> shown = boxes();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].icon, CPrompt::Question);
    QCOMPARE(shown[0].title, QStringLiteral("Nouveau NAVAID"));
    QCOMPARE(shown[0].text, QStringLiteral("Le navaid PGS existe déja.\nVoulez vous continuer ?"));
    QCOMPARE(shown[0].buttons, (QStringList{CPrompt::Yes, CPrompt::No}));
    QCOMPARE(count(gen(), QStringLiteral("NAV")), 757 + 10);
    QVERIFY(m_fx->scripts.isEmpty());
}

void TestEditorsWindow::navaidFrequencyLimits_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<double>("frequency");
    QTest::addColumn<QString>("title");   // empty: accepted
    QTest::addColumn<QString>("text");

    const QString ndbTitle = QStringLiteral("Création NDB");
    const QString ndbText = QStringLiteral("La fréquence doit être comprise entre 180 et 1750 Khz.");
    const QString vorTitle = QStringLiteral("Création VOR");
    const QString vorText = QStringLiteral("La fréquence doit être comprise entre 108.000 et 117.95 Mhz.");
    QTest::newRow("NDB 180") << "rbNDB" << 180.0 << "" << "";
    QTest::newRow("NDB 1749.999") << "rbNDB" << 1749.999 << "" << "";
    QTest::newRow("NDB 1750") << "rbNDB" << 1750.0 << ndbTitle << ndbText;
    QTest::newRow("NDB 179.975") << "rbNDB" << 179.975 << ndbTitle << ndbText;
    QTest::newRow("NDB DME 1750") << "rbNDBDME" << 1750.0 << ndbTitle << ndbText;
    QTest::newRow("VOR 108") << "rbVOR" << 108.0 << "" << "";
    QTest::newRow("VOR 117.975") << "rbVOR" << 117.975 << "" << "";
    QTest::newRow("VOR 118") << "rbVOR" << 118.0 << vorTitle << vorText;
    QTest::newRow("TACAN 118") << "rbTACAN" << 118.0 << vorTitle << vorText;
    QTest::newRow("VOR DME 356") << "rbVORDME" << 356.0 << vorTitle << vorText;
}

void TestEditorsWindow::navaidFrequencyLimits()
{
    QFETCH(QString, type);
    QFETCH(double, frequency);
    QFETCH(QString, title);
    QFETCH(QString, text);
    const bool accepted = title.isEmpty();
    answerEditor([&](QDialog *d) {
        setCountry(d, QStringLiteral("FR"));
        QTest::keyClicks(edit(d, "leIden"), QStringLiteral("ZZ"));
        edit(d, "leName")->setText(QStringLiteral("FREQ"));
        child<QRadioButton>(d, type.toLatin1().constData())->click();
        child<QDoubleSpinBox>(d, "sbFreq")->setValue(frequency);
        child<QPushButton>(d, "pbOK")->click();
        // Refused: the dialog stays open until cancelled.
        QCOMPARE(d->result(), accepted ? int(QDialog::Accepted) : int(QDialog::Rejected));
        if (!accepted)
            child<QPushButton>(d, "pbCancel")->click();
    });
    m_w->sAddNavToDB(QString(), 48.5, 2.25);
    const QList<ScriptedPrompt::Record> shown = boxes();
    QCOMPARE(shown.size(), 1);
    const QStringList keys = {QStringLiteral("FR1ZZ1"), QStringLiteral("FR2ZZ1"), QStringLiteral("FR5ZZ1"),
                              QStringLiteral("FR4ZZ1"), QStringLiteral("FR7ZZ1")};
    int written = 0;
    for (const QString &k : keys)
        written += row(gen(), QStringLiteral("NAV"), k).isEmpty() ? 0 : 1;
    if (accepted) {
        QCOMPARE(shown[0].title, QStringLiteral("Nouveau NAVAID"));
        QCOMPARE(written, 1);
        QCOMPARE(m_fx->scripts.size(), 1);
    } else {
        QCOMPARE(shown[0].icon, CPrompt::Warning);
        QCOMPARE(shown[0].title, title);
        QCOMPARE(shown[0].text, text);
        QCOMPARE(shown[0].buttons, QStringList{CPrompt::Ok});
        QCOMPARE(written, 0);
        QVERIFY(m_fx->scripts.isEmpty());
    }
}

void TestEditorsWindow::navaidNeverOverwritesAnother()
{
    // A key proposed, then taken by someone else before OK.
    answerEditor([&](QDialog *d) {
        setCountry(d, QStringLiteral("FR"));
        QTest::keyClicks(edit(d, "leIden"), QStringLiteral("QQ"));
        QCOMPARE(edit(d, "leUkey")->text(), QStringLiteral("FR1QQ1"));
        QVERIFY(exec(gen(), QStringLiteral("INSERT INTO NAV (tile, ukey, iden, name) VALUES (0, 'FR1QQ1', 'QQ', 'OTHER')")));
        edit(d, "leName")->setText(QStringLiteral("MINE"));
        child<QPushButton>(d, "pbOK")->click();
        QCOMPARE(d->result(), int(QDialog::Rejected));
        child<QPushButton>(d, "pbCancel")->click();
    });
    m_w->sAddNavToDB(QString(), 48.5, 2.25);
    const QList<ScriptedPrompt::Record> shown = boxes();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].icon, CPrompt::Warning);
    QCOMPARE(shown[0].title, QStringLiteral("Nouveau NAVAID"));
    QCOMPARE(shown[0].text, QStringLiteral("La clé FR1QQ1 est déjà celle d'un autre navaid.\n"
                                           "Changez l'identifiant, le type ou le pays."));
    QCOMPARE(row(gen(), QStringLiteral("NAV"), QStringLiteral("FR1QQ1")).value(3), QStringLiteral("OTHER"));
    QVERIFY(m_fx->scripts.isEmpty());

    // Without any key (no ident typed), nothing is written either.
    m_fx->prompt.records.clear();
    answerEditor([&](QDialog *d) {
        child<QPushButton>(d, "pbOK")->click();
        QCOMPARE(d->result(), int(QDialog::Rejected));
    });
    const int before = count(gen(), QStringLiteral("NAV"));
    m_w->sAddNavToDB(QString(), 48.5, 2.25);
    QCOMPARE(boxes().size(), 1);
    QCOMPARE(boxes()[0].text, QStringLiteral("La clé unique est vide.\nSaisissez l'identifiant du navaid."));
    QCOMPARE(count(gen(), QStringLiteral("NAV")), before);
}

void TestEditorsWindow::modifyStoredTacan()
{
    answerEditor([&](QDialog *d) {
        QCOMPARE(edit(d, "leTile")->text(), QStringLiteral("196777"));
        QCOMPARE(edit(d, "leUkey")->text(), QStringLiteral("BE2BBE1"));
        QCOMPARE(edit(d, "leIden")->text(), QStringLiteral("BBE"));
        QCOMPARE(edit(d, "leName")->text(), QStringLiteral("BEAUVECHAIN TACAN"));
        QCOMPARE(child<QDoubleSpinBox>(d, "sbFreq")->value(), 116.0);
        QCOMPARE(child<QComboBox>(d, "cbCtry")->currentText(), QStringLiteral("BE"));
        QCOMPARE(edit(d, "sbLat")->text(), QStringLiteral("182723.00"));
        QCOMPARE(edit(d, "sbLon")->text(), QStringLiteral("17165.00"));
        QVERIFY(radio(d, "rbTACAN")->isChecked());
        QVERIFY(radio(d, "rbBoth")->isChecked());
        child<QPushButton>(d, "pbOK")->click();
    });
    const int before = count(gen(), QStringLiteral("NAV"));
    m_w->sAddNavToDB(QStringLiteral("BBE-BE2BBE1"), 50.7, 4.7);
    QCOMPARE(m_dialogs, 1);
    // Written back as it was: a TACAN filed under 4 stays under 4.
    const QStringList expected{"196777", "BE2BBE1", "BBE", "BEAUVECHAIN TACAN", "116", "0", "0", "BE", "",
                               "4", "0", "3", "182723", "17165", "370", "0", "100"};
    QCOMPARE(row(gen(), QStringLiteral("NAV"), QStringLiteral("BE2BBE1")), expected);
    QCOMPARE(count(gen(), QStringLiteral("NAV")), before);
    QCOMPARE(boxes().size(), 1);
    QCOMPARE(boxes()[0].text, QStringLiteral("BEAUVECHAIN TACAN a été modifié/ajouté à la base GEN.db"));
    QCOMPARE(m_fx->scripts,
             QStringList{QStringLiteral("addVORMarker2(new google.maps.LatLng(50.75639,4.76806),"
                                        "\"BEAUVECHAIN TACAN-BE2BBE1\",4,\"<font color=blue><b>VOR BBE</b>"
                                        "<font color=black><br/>BEAUVECHAIN TACAN<br/>116.000 Mhz<br/>"
                                        "50 45' 23.00 N - 004 46' 05.00 E\",\"BE2BBE1\")")});
}

void TestEditorsWindow::modifyKeepsStoredType_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("checked");   // type radio checked on opening; empty: none
    QTest::addColumn<QString>("ident");   // typed after the stored one
    QTest::addColumn<QString>("pick");    // type radio clicked
    QTest::addColumn<QString>("key");     // of the row written
    QTest::addColumn<QString>("ntyp");

    // A DME-ILS filed under 16 has no radio; a VORTAC filed under 5 opens
    // as a TACAN. Unchanged, both stay as they were.
    QTest::newRow("16, no radio") << "IAD-BE3IAD1" << "" << "" << "" << "BE3IAD1" << "16";
    QTest::newRow("5 opens as TACAN") << "BVG-BE2BVG1" << "rbTACAN" << "" << "" << "BE2BVG1" << "5";
    // A new ident: a new row, with the type and the key's type digit kept.
    QTest::newRow("16, new ident") << "IAD-BE3IAD1" << "" << "x" << "" << "BE3IADX1" << "16";
    QTest::newRow("16 made a VOR") << "IAD-BE3IAD1" << "" << "" << "rbVOR" << "BE1IAD1" << "1";
}

void TestEditorsWindow::modifyKeepsStoredType()
{
    QFETCH(QString, title);
    QFETCH(QString, checked);
    QFETCH(QString, ident);
    QFETCH(QString, pick);
    QFETCH(QString, key);
    QFETCH(QString, ntyp);
    answerEditor([&](QDialog *d) {
        for (const char *name : {"rbVOR", "rbTACAN", "rbNDB", "rbVORDME", "rbNDBDME"})
            QCOMPARE(radio(d, name)->isChecked(), checked == QLatin1String(name));
        if (!ident.isEmpty())
            QTest::keyClicks(edit(d, "leIden"), ident);
        if (!pick.isEmpty())
            radio(d, qPrintable(pick))->click();
        QCOMPARE(edit(d, "leUkey")->text(), key);
        child<QPushButton>(d, "pbOK")->click();
    });
    const QString opened = title.mid(title.indexOf(u'-') + 1);
    QStringList before = row(gen(), QStringLiteral("NAV"), opened);
    m_w->sAddNavToDB(title, 0, 0);
    QCOMPARE(m_dialogs, 1);
    const QStringList written = row(gen(), QStringLiteral("NAV"), key);
    QCOMPARE(written.value(9), ntyp);
    if (key == opened) {
        // The row as it was, positions to the form's hundredth.
        for (int col : {12, 13})
            before[col] = QString::number(QString::number(before[col].toDouble(), 'f', 2).toDouble(), 'g', 10);
        QCOMPARE(written, before);
    } else {
        QCOMPARE(row(gen(), QStringLiteral("NAV"), opened).value(9), before.value(9));
    }
    // Shown on the map as loaded: a VOR marker with the type code.
    QCOMPARE(m_fx->scripts.size(), 1);
    QVERIFY2(m_fx->scripts[0].startsWith(QStringLiteral("addVORMarker2(")), qPrintable(m_fx->scripts[0]));
    QVERIFY2(m_fx->scripts[0].contains(QStringLiteral("-%1\",%2,").arg(key, ntyp)), qPrintable(m_fx->scripts[0]));
    QCOMPARE(boxes().size(), 1);
    QCOMPARE(boxes()[0].title, QStringLiteral("Nouveau NAVAID"));
}

void TestEditorsWindow::modifyChangingIdentWritesNewRow()
{
    answerEditor([&](QDialog *d) {
        QTest::keyClicks(edit(d, "leIden"), QStringLiteral("x"));
        QCOMPARE(edit(d, "leIden")->text(), QStringLiteral("BBEX"));
        QCOMPARE(edit(d, "leUkey")->text(), QStringLiteral("BE2BBEX1"));
        child<QPushButton>(d, "pbOK")->click();
    });
    const int before = count(gen(), QStringLiteral("NAV"));
    m_w->sAddNavToDB(QStringLiteral("BBE-BE2BBE1"), 0, 0);
    QCOMPARE(count(gen(), QStringLiteral("NAV")), before + 1);
    QCOMPARE(row(gen(), QStringLiteral("NAV"), QStringLiteral("BE2BBE1")).value(9), QStringLiteral("4"));
    const QStringList added = row(gen(), QStringLiteral("NAV"), QStringLiteral("BE2BBEX1"));
    QCOMPARE(added.value(2), QStringLiteral("BBEX"));
    QCOMPARE(added.value(9), QStringLiteral("4"));
    QVERIFY(m_fx->scripts.value(0).contains(QStringLiteral("\"BEAUVECHAIN TACAN-BE2BBEX1\",4,")));
}

void TestEditorsWindow::hostileNavaidWithExport()
{
    answerEditor([&](QDialog *d) {
        setCountry(d, QStringLiteral("FR"));
        QTest::keyClicks(edit(d, "leIden"), QStringLiteral("oh"));
        edit(d, "leName")->setText(Hostile);
        radio(d, "rbNDB")->click();
        radio(d, "rbTerm")->click();
        child<QDoubleSpinBox>(d, "sbFreq")->setValue(356);
        child<QCheckBox>(d, "cbSaveCSV")->setChecked(true);
        child<QPushButton>(d, "pbOK")->click();
    });
    m_w->sAddNavToDB(QString(), 48.5, 2.25);
    const QString tile = QString::number(CNavGlobalVar::instance()->tileKey(174600, 8100));
    const QStringList stored = row(gen(), QStringLiteral("NAV"), QStringLiteral("FR5OH1"));
    QCOMPARE(stored.value(3), Hostile);
    QCOMPARE(stored.value(9), QStringLiteral("8"));
    QCOMPARE(stored.value(11), QStringLiteral("4"));

    const QString path = dataFile(QStringLiteral("O'Hare _Intl_ __script_.CSV"));
    QCOMPARE(readFile(path), (QStringLiteral("GEN;NAV;+;") + tile + QStringLiteral(";FR5OH1;OH;") + Hostile
                              + QStringLiteral(";356;0;0;FR;;8;0;4;174600.00;8100.00;0;0;0"))
                                     .toLatin1());
    const QList<ScriptedPrompt::Record> shown = boxes();
    QCOMPARE(shown.size(), 2);
    QCOMPARE(shown[0].text, Hostile + QStringLiteral(" a été modifié/ajouté à la base GEN.db"));
    QCOMPARE(shown[1].icon, CPrompt::Information);
    QCOMPARE(shown[1].title, QStringLiteral("Nouveau NAVAID: export"));
    QCOMPARE(shown[1].text, QStringLiteral("Le fichier d'export pour ") + Hostile + QStringLiteral("\na été enregistré dans ") + path);
    QCOMPARE(m_fx->scripts,
             QStringList{QStringLiteral("addNDBMarker2(new google.maps.LatLng(48.50000,2.25000),"
                                        "\"O'Hare \\\"Intl\\\" </script>-FR5OH1\",4,"
                                        "\"<font color=blue><b>NDB OH</b><font color=black><br/>"
                                        "O'Hare &quot;Intl&quot; &lt;/script&gt;<br/>356 Khz<br/>"
                                        "48 30' 00.00 N - 002 15' 00.00 E\",\"FR5OH1\")")});

    // Saving again replaces the file with the last record only.
    m_fx->prompt.records.clear();
    answerEditor([&](QDialog *d) {
        child<QCheckBox>(d, "cbSaveCSV")->setChecked(true);
        radio(d, "rbLow")->click();
        child<QPushButton>(d, "pbOK")->click();
    });
    m_w->sAddNavToDB(Hostile + QStringLiteral("-FR5OH1"), 0, 0);
    QCOMPARE(readFile(path), (QStringLiteral("GEN;NAV;+;") + tile + QStringLiteral(";FR5OH1;OH;") + Hostile
                              + QStringLiteral(";356;0;0;FR;;8;0;2;174600.00;8100.00;0;0;0"))
                                     .toLatin1());
}

void TestEditorsWindow::navaidExportFailureIsReported()
{
    blockDataFolder();
    answerEditor([&](QDialog *d) {
        setCountry(d, QStringLiteral("FR"));
        QTest::keyClicks(edit(d, "leIden"), QStringLiteral("EXP"));
        edit(d, "leName")->setText(QStringLiteral("EXPORT"));
        child<QCheckBox>(d, "cbSaveCSV")->setChecked(true);
        child<QPushButton>(d, "pbOK")->click();
    });
    m_w->sAddNavToDB(QString(), 48.5, 2.25);
    const QList<ScriptedPrompt::Record> shown = boxes();
    QCOMPARE(shown.size(), 2);
    QCOMPARE(shown[1].icon, CPrompt::Warning);
    QCOMPARE(shown[1].title, QStringLiteral("Nouveau NAVAID: export"));
    QCOMPARE(shown[1].text, QStringLiteral("Le fichier d'export pour EXPORT\nn'a pas pu être enregistré dans ")
                                    + dataFile(QStringLiteral("EXPORT.CSV")));
    // The row and the marker are there all the same.
    QVERIFY(!row(gen(), QStringLiteral("NAV"), QStringLiteral("FR1EXP1")).isEmpty());
    QCOMPARE(m_fx->scripts.size(), 1);
}

void TestEditorsWindow::replaceFailureKeepsDialogOpen_data()
{
    QTest::addColumn<bool>("navaid");
    QTest::newRow("navaid") << true;
    QTest::newRow("waypoint") << false;
}

void TestEditorsWindow::replaceFailureKeepsDialogOpen()
{
    QFETCH(bool, navaid);
    const QSqlDatabase db = navaid ? gen() : wpt();
    const QString table = navaid ? QStringLiteral("NAV") : QStringLiteral("WPT");
    QVERIFY(exec(db, QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON %1 BEGIN SELECT RAISE(ABORT, 'refused here'); END")
                             .arg(table)));
    const int rows = count(db, table);
    answerEditor([&](QDialog *d) {
        if (navaid) {
            setCountry(d, QStringLiteral("FR"));
            QTest::keyClicks(edit(d, "leIden"), QStringLiteral("RF"));
            edit(d, "leName")->setText(QStringLiteral("REFUS"));
        } else {
            QTest::keyClicks(edit(d, "leName"), QStringLiteral("refus"));
        }
        child<QCheckBox>(d, "cbSaveCSV")->setChecked(true);
        child<QPushButton>(d, "pbOK")->click();
        // Still open, with what was typed.
        QCOMPARE(d->result(), int(QDialog::Rejected));
        QCOMPARE(edit(d, "leName")->text(), QStringLiteral("REFUS"));
        child<QPushButton>(d, "pbCancel")->click();
    });
    if (navaid)
        m_w->sAddNavToDB(QString(), 48.5, 2.25);
    else
        m_w->sAddWptToDB(QString(), 48.5, 2.25);
    const QList<ScriptedPrompt::Record> shown = boxes();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].icon, CPrompt::Warning);
    QCOMPARE(shown[0].title, navaid ? QStringLiteral("Nouveau NAVAID: mise à jour") : QStringLiteral("Nouveau WAYPOINT: mise à jour"));
    const QString what = navaid ? QStringLiteral("Une erreur s'est produite pendant la modification/ajout de REFUS dans la base GEN.db :\n")
                                : QStringLiteral("Une erreur s'est produite\n pendant la modification/ajout de REFUS dans la base WPT.db :\n");
    QVERIFY2(shown[0].text.startsWith(what), qPrintable(shown[0].text));
    QVERIFY2(shown[0].text.contains(QStringLiteral("refused here")), qPrintable(shown[0].text));
    QCOMPARE(count(db, table), rows);
    // Nothing on the map, no update file.
    QVERIFY(m_fx->scripts.isEmpty());
    QVERIFY(!QFileInfo::exists(dataFile(QStringLiteral("REFUS.CSV"))));
}

void TestEditorsWindow::cancelLeavesEverything_data()
{
    QTest::addColumn<bool>("navaid");
    QTest::addColumn<QString>("title");

    QTest::newRow("new navaid") << true << "";
    QTest::newRow("navaid") << true << "BBE-BE2BBE1";
    QTest::newRow("new waypoint") << false << "";
    QTest::newRow("waypoint") << false << "AALTE-AALTEBE";
}

void TestEditorsWindow::cancelLeavesEverything()
{
    QFETCH(bool, navaid);
    QFETCH(QString, title);
    const QSqlDatabase db = navaid ? gen() : wpt();
    const QString table = navaid ? QStringLiteral("NAV") : QStringLiteral("WPT");
    const QString key = navaid ? QStringLiteral("BE2BBE1") : QStringLiteral("AALTEBE");
    const QStringList before = row(db, table, key);
    const int rows = count(db, table);
    answerEditor([&](QDialog *d) {
        edit(d, "leName")->setText(QStringLiteral("CHANGED"));
        child<QCheckBox>(d, "cbSaveCSV")->setChecked(true);
        child<QPushButton>(d, "pbCancel")->click();
        QCOMPARE(d->result(), int(QDialog::Rejected));
    });
    if (navaid)
        m_w->sAddNavToDB(title, 48.5, 2.25);
    else
        m_w->sAddWptToDB(title, 48.5, 2.25);
    QCOMPARE(m_dialogs, 1);
    QCOMPARE(row(db, table, key), before);
    QCOMPARE(count(db, table), rows);
    QVERIFY(m_fx->scripts.isEmpty());
    QVERIFY(boxes().isEmpty());
    QVERIFY(!QFileInfo::exists(dataFile(QStringLiteral("CHANGED.CSV"))));
}

void TestEditorsWindow::modifyNotFound_data()
{
    QTest::addColumn<bool>("navaid");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("boxTitle");
    QTest::addColumn<QString>("text");

    QTest::newRow("navaid, unknown key") << true << "BBE-NOSUCH" << "Modification d'un navaid"
                                         << "Le navaid BBE-NOSUCH n'existe pas dans la base";
    QTest::newRow("navaid, no dash") << true << "BE2BBE1" << "Modification d'un navaid"
                                     << "Le navaid BE2BBE1 n'existe pas dans la base";
    QTest::newRow("navaid, quote in the key") << true << "BBE-BE2\"BBE1" << "Modification d'un navaid"
                                              << "Le navaid BBE-BE2\"BBE1 n'existe pas dans la base";
    QTest::newRow("waypoint, unknown key") << false << "AALTE-NOSUCH" << "Modification d'un waypoint"
                                           << "Le waypoint AALTE-NOSUCH n'existe pas dans la base";
    QTest::newRow("waypoint, nothing after the dash") << false << "AALTE-" << "Modification d'un waypoint"
                                                      << "Le waypoint AALTE- n'existe pas dans la base";
}

void TestEditorsWindow::modifyNotFound()
{
    QFETCH(bool, navaid);
    QFETCH(QString, title);
    QFETCH(QString, boxTitle);
    QFETCH(QString, text);
    answerEditor([&](QDialog *) {});
    if (navaid)
        m_w->sAddNavToDB(title, 0, 0);
    else
        m_w->sAddWptToDB(title, 0, 0);
    QCOMPARE(m_dialogs, 0);
    QCOMPARE(m_fx->prompt.records.size(), 1);
    QCOMPARE(m_fx->prompt.last().icon, CPrompt::Information);
    QCOMPARE(m_fx->prompt.last().title, boxTitle);
    QCOMPARE(m_fx->prompt.last().text, text);
    QCOMPARE(m_fx->prompt.last().buttons, QStringList{CPrompt::Ok});
    QVERIFY(m_fx->scripts.isEmpty());
}

// --- position entry ---

void TestEditorsWindow::positionFromEditors_data()
{
    QTest::addColumn<bool>("navaid");
    QTest::addColumn<QString>("field");
    QTest::addColumn<bool>("accept");
    QTest::addColumn<bool>("consumed");

    QTest::newRow("navaid latitude, accepted") << true << "sbLat" << true << true;
    QTest::newRow("navaid longitude, accepted") << true << "sbLon" << true << true;
    QTest::newRow("navaid, rejected: press consumed") << true << "sbLat" << false << true;
    QTest::newRow("waypoint latitude, accepted") << false << "sbLat" << true << true;
    QTest::newRow("waypoint, rejected: press passes") << false << "sbLon" << false << false;
}

void TestEditorsWindow::positionFromEditors()
{
    QFETCH(bool, navaid);
    QFETCH(QString, field);
    QFETCH(bool, accept);
    QFETCH(bool, consumed);
    QList<std::pair<double, double>> given;
    QStringList shownFields;
    m_position = [&](CDialogLatLon *p) -> int {
        given << std::pair{p->lat, p->lon};
        shownFields = QStringList{p->windowTitle(), p->parent() ? QStringLiteral("parent") : QStringLiteral("none"),
                                  child<QLineEdit>(p, "edLat")->text(), child<QComboBox>(p, "cbEW")->currentText(),
                                  child<QSpinBox>(p, "sbLonDeg")->text(), child<QSpinBox>(p, "sbLonMin")->text(),
                                  child<QDoubleSpinBox>(p, "sbLonSec")->text()};
        p->setLatLon(180000, 1287900);
        return accept ? int(QDialog::Accepted) : int(QDialog::Rejected);
    };
    bool filtered = false;
    answerEditor([&](QDialog *d) {
        QLineEdit *target = edit(d, field.toLatin1().constData());
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(2, 2), target->mapToGlobal(QPointF(2, 2)), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        filtered = static_cast<QObject *>(d)->eventFilter(target, &press);
        if (accept) {
            QCOMPARE(edit(d, "sbLat")->text(), QStringLiteral("180000.00"));
            QCOMPARE(edit(d, "sbLon")->text(), QStringLiteral("1287900.00"));
            QCOMPARE(edit(d, "leTile")->text(), QString::number(CNavGlobalVar::instance()->tileKey(180000, 1287900)));
            // A real press takes the same path.
            m_position = [](CDialogLatLon *p) {
                p->setLatLon(3600, 7200);
                return int(QDialog::Accepted);
            };
            pressOn(edit(d, "sbLon"));
            QCOMPARE(edit(d, "sbLat")->text(), QStringLiteral("3600.00"));
            QCOMPARE(edit(d, "sbLon")->text(), QStringLiteral("7200.00"));
        } else {
            QCOMPARE(edit(d, "sbLat")->text(), QStringLiteral("174600.00"));
            QCOMPARE(edit(d, "sbLon")->text(), QStringLiteral("8100.00"));
            QCOMPARE(edit(d, "leTile")->text(), QString::number(CNavGlobalVar::instance()->tileKey(174600, 8100)));
        }
        // Other events pass.
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(2, 2), target->mapToGlobal(QPointF(2, 2)),
                            Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QVERIFY(!static_cast<QObject *>(d)->eventFilter(target, &release));
        child<QPushButton>(d, "pbCancel")->click();
    });
    if (navaid)
        m_w->sAddNavToDB(QString(), 48.5, 2.25);
    else
        m_w->sAddWptToDB(QString(), 48.5, 2.25);
    QCOMPARE(m_dialogs, 1);
    QVERIFY(!given.isEmpty());
    QCOMPARE(given.first(), (std::pair<double, double>{174600, 8100}));
    QCOMPARE(shownFields, (QStringList{"Lat/Lon", "none", "174600.00", "E", "2°", "15'", "0.00\""}));
    QCOMPARE(filtered, consumed);
}

void TestEditorsWindow::latLonDialogForm()
{
    CDialogLatLon d;
    QCOMPARE(d.windowTitle(), QStringLiteral("Lat/Lon"));
    QCOMPARE(child<QSpinBox>(&d, "sbLatDeg")->maximum(), 90);
    QCOMPARE(child<QSpinBox>(&d, "sbLatDeg")->suffix(), QStringLiteral("°"));
    QCOMPARE(child<QSpinBox>(&d, "sbLatMin")->maximum(), 59);
    QCOMPARE(child<QSpinBox>(&d, "sbLatMin")->suffix(), QStringLiteral("'"));
    QCOMPARE(child<QDoubleSpinBox>(&d, "sbLatSec")->maximum(), 60.0);
    QCOMPARE(child<QDoubleSpinBox>(&d, "sbLatSec")->decimals(), 2);
    QCOMPARE(child<QDoubleSpinBox>(&d, "sbLatSec")->suffix(), QStringLiteral("\""));
    QCOMPARE(child<QSpinBox>(&d, "sbLonDeg")->maximum(), 180);
    QCOMPARE(child<QSpinBox>(&d, "sbLonMin")->maximum(), 59);
    QCOMPARE(child<QDoubleSpinBox>(&d, "sbLonSec")->maximum(), 60.0);
    QCOMPARE(child<QComboBox>(&d, "cbNS")->itemText(0), QStringLiteral("N"));
    QCOMPARE(child<QComboBox>(&d, "cbNS")->itemText(1), QStringLiteral("S"));
    QCOMPARE(child<QComboBox>(&d, "cbEW")->itemText(0), QStringLiteral("E"));
    QCOMPARE(child<QComboBox>(&d, "cbEW")->itemText(1), QStringLiteral("W"));
    QVERIFY(child<QLineEdit>(&d, "edLon_2")->alignment() & Qt::AlignRight);
    auto *box = child<QDialogButtonBox>(&d, "buttonBox");
    QVERIFY(box->button(QDialogButtonBox::Ok));
    QVERIFY(box->button(QDialogButtonBox::Cancel));

    // Zero shows S and W.
    d.setLatLon(0, 0);
    QCOMPARE(child<QComboBox>(&d, "cbNS")->currentText(), QStringLiteral("S"));
    QCOMPARE(child<QComboBox>(&d, "cbEW")->currentText(), QStringLiteral("W"));

    // 8100 shows E 2° 15' 0.00"; the latitude above 90 degrees shows in the
    // number fields, the degree fields stop at 90° 00'.
    d.setLatLon(91.5 * 3600, 8100);
    QCOMPARE(child<QLineEdit>(&d, "edLat")->text(), QStringLiteral("329400.00"));
    QCOMPARE(child<QLineEdit>(&d, "edLat_2")->text(), QStringLiteral("91.50000"));
    QCOMPARE(child<QSpinBox>(&d, "sbLatDeg")->value(), 90);
    QCOMPARE(child<QSpinBox>(&d, "sbLatMin")->value(), 0);
    QCOMPARE(child<QComboBox>(&d, "cbEW")->currentText(), QStringLiteral("E"));
    QCOMPARE(child<QSpinBox>(&d, "sbLonDeg")->text(), QStringLiteral("2°"));
    QCOMPARE(child<QSpinBox>(&d, "sbLonMin")->text(), QStringLiteral("15'"));
    QCOMPARE(child<QDoubleSpinBox>(&d, "sbLonSec")->text(), QStringLiteral("0.00\""));
    QCOMPARE(child<QLineEdit>(&d, "edLon")->text(), QStringLiteral("8100.00"));
    QCOMPARE(child<QLineEdit>(&d, "edLon_2")->text(), QStringLiteral("2.25000"));
    // Filling recomputed nothing.
    QCOMPARE(d.lat, 329400.0);
    QCOMPARE(d.lon, 8100.0);

    // OK and Cancel.
    box->button(QDialogButtonBox::Ok)->click();
    QCOMPARE(d.result(), int(QDialog::Accepted));
    box->button(QDialogButtonBox::Cancel)->click();
    QCOMPARE(d.result(), int(QDialog::Rejected));
}

void TestEditorsWindow::latLonDialogFocusRule()
{
    CDialogLatLon d;
    d.setLatLon(174600, 8100);
    d.show();
    d.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&d));
    auto *deg = child<QSpinBox>(&d, "sbLatDeg");
    auto *ns = child<QComboBox>(&d, "cbNS");
    auto *edLat = child<QLineEdit>(&d, "edLat");

    // A field without the focus recomputes nothing.
    ns->setFocus();
    deg->setValue(10);
    QCOMPARE(d.lat, 174600.0);
    QCOMPARE(edLat->text(), QStringLiteral("174600.00"));

    // With the focus it does: 10 degrees, 30 minutes.
    deg->setFocus();
    QVERIFY(deg->hasFocus());
    deg->setValue(11);
    QCOMPARE(d.lat, 11 * 3600.0 + 1800);
    QCOMPARE(edLat->text(), QStringLiteral("41400.00"));
    QCOMPARE(child<QLineEdit>(&d, "edLat_2")->text(), QStringLiteral("11.50000"));
    auto *sec = child<QDoubleSpinBox>(&d, "sbLatSec");
    sec->setFocus();
    sec->setValue(60);
    QCOMPARE(d.lat, 11 * 3600.0 + 1800 + 60);

    // N, S, N: the size stays, the sign follows.
    ns->setFocus();
    ns->setCurrentIndex(1);
    QCOMPARE(d.lat, -41460.0);
    QCOMPARE(edLat->text(), QStringLiteral("-41460.00"));
    ns->setCurrentIndex(0);
    QCOMPARE(d.lat, 41460.0);

    // Typing into the number field changes nothing until the hemisphere is
    // chosen again.
    edLat->setText(QStringLiteral("1000"));
    QCOMPARE(d.lat, 41460.0);
    ns->setCurrentIndex(1);
    QCOMPARE(d.lat, -1000.0);
}

void TestEditorsWindow::latLonDialogLongitude()
{
    CDialogLatLon d;
    d.setLatLon(0, 8100);
    d.show();
    d.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&d));
    auto *ew = child<QComboBox>(&d, "cbEW");
    auto *deg = child<QSpinBox>(&d, "sbLonDeg");

    // 2.25 W is stored as 1287900, back east it is 8100.
    ew->setFocus();
    ew->setCurrentIndex(1);
    QCOMPARE(d.lon, 1287900.0);
    QCOMPARE(child<QLineEdit>(&d, "edLon")->text(), QStringLiteral("1287900.00"));
    QCOMPARE(child<QLineEdit>(&d, "edLon_2")->text(), QStringLiteral("-2.25000"));
    ew->setCurrentIndex(0);
    QCOMPARE(d.lon, 8100.0);

    // W with a magnitude of 0 is a full turn, shown as 0 degrees.
    ew->setCurrentIndex(1);
    auto *min = child<QSpinBox>(&d, "sbLonMin");
    deg->setFocus();
    min->setValue(0);   // not focused: nothing
    QCOMPARE(d.lon, 1287900.0);
    min->setFocus();
    min->setValue(1);
    QCOMPARE(d.lon, 1296000.0 - 7260);
    min->setValue(0);
    QCOMPARE(d.lon, 1296000.0 - 7200);
    deg->setFocus();
    deg->setValue(0);
    QCOMPARE(d.lon, 1296000.0);
    QCOMPARE(child<QLineEdit>(&d, "edLon_2")->text(), QStringLiteral("0.00000"));
}

// --- waypoint editor ---

void TestEditorsWindow::newWaypoint()
{
    const QString tile = QString::number(CNavGlobalVar::instance()->tileKey(163800, 1287900));
    answerEditor([&](QDialog *d) {
        QVERIFY(qobject_cast<CDialogWpt *>(d));
        QCOMPARE(d->windowTitle(), QStringLiteral("WAYPOINT"));
        QCOMPARE(edit(d, "sbLat")->text(), QStringLiteral("163800.00"));
        QCOMPARE(edit(d, "sbLon")->text(), QStringLiteral("1287900.00"));
        QCOMPARE(edit(d, "leTile")->text(), tile);
        QCOMPARE(edit(d, "leUkey")->maxLength(), 10);
        QCOMPARE(edit(d, "leIden")->maxLength(), 5);
        QCOMPARE(edit(d, "leName")->maxLength(), 26);
        QVERIFY(!edit(d, "leUkey")->isReadOnly());
        QVERIFY(radio(d, "rbHigh")->isChecked());
        QVERIFY(radio(d, "rbUnNamed")->isChecked());
        QCOMPARE(radio(d, "rbUnNamed")->text(), QStringLiteral(" 1 UNAMED"));
        QCOMPARE(radio(d, "rbRnav")->text(), QStringLiteral("4 RNAV"));
        QCOMPARE(radio(d, "rbTerm")->text(), QStringLiteral("5 TERMINAL"));
        QVERIFY(child<QDialogButtonBox>(d, "buttonBox")->buttons().isEmpty());
        QVERIFY(!child<QPushButton>(d, "pbOK")->autoDefault());
        QVERIFY(!child<QPushButton>(d, "pbCancel")->autoDefault());
        QVERIFY(!child<QCheckBox>(d, "cbUpdateDB")->isEnabled());
        // The key starts as the first country, then follows it.
        QCOMPARE(edit(d, "leUkey")->text(), QStringLiteral("AT"));
        setCountry(d, QStringLiteral("FR"));
        QCOMPARE(edit(d, "leUkey")->text(), QStringLiteral("FR"));
        QTest::keyClicks(edit(d, "leName"), QStringLiteral("abc"));
        QCOMPARE(edit(d, "leName")->text(), QStringLiteral("ABC"));
        QCOMPARE(edit(d, "leIden")->text(), QStringLiteral("ABC"));
        QCOMPARE(edit(d, "leUkey")->text(), QStringLiteral("ABCFR"));
        child<QCheckBox>(d, "cbSaveCSV")->setChecked(true);
        child<QPushButton>(d, "pbOK")->click();
    });
    m_w->sAddWptToDB(QString(), 45.5, -2.25);

    const QStringList expected{tile, "ABC", "ABCFR", "ABC", "FR", "", "78", "1",
                               "1", "163800", "1287900", "0", "0", "0", "0", ""};
    QCOMPARE(row(wpt(), QStringLiteral("WPT"), QStringLiteral("ABCFR")), expected);
    const QString path = dataFile(QStringLiteral("ABC.CSV"));
    QCOMPARE(readFile(path), (QStringLiteral("WPT;WPT;+;") + tile
                              + QStringLiteral(";ABC;ABCFR;ABC;FR;;78;1;1;163800.00;1287900.00;0;0;0;0;"))
                                     .toLatin1());
    const QList<ScriptedPrompt::Record> shown = boxes();
    QCOMPARE(shown.size(), 2);
    QCOMPARE(shown[0].icon, CPrompt::Information);
    QCOMPARE(shown[0].title, QStringLiteral("Nouveau WAYPOINT"));
    QCOMPARE(shown[0].text, QStringLiteral("ABC a été modifié/ajouté à la base WPT.db"));
    QCOMPARE(shown[1].title, QStringLiteral("Nouveau WAYPOINT: export"));
    QCOMPARE(shown[1].text, QStringLiteral("Le fichier d'export pour ABC\na été enregistré dans ") + path);
    QCOMPARE(m_fx->scripts,
             QStringList{QStringLiteral("addWPTMarker2(new google.maps.LatLng(45.50000,-2.25000),\"ABC-ABCFR\",1,"
                                        "\"<font color=blue><b>Waypoint ABC</b><font color=black><br/>ABC (High)<br/>"
                                        "45 30' 00.00 N - 002 15' 00.00 W\",\"ABCFR\")")});
}

void TestEditorsWindow::waypointRadios_data()
{
    QTest::addColumn<QString>("usage");
    QTest::addColumn<QString>("type");
    QTest::addColumn<int>("wuse");
    QTest::addColumn<int>("wtyp");
    QTest::addColumn<QString>("shown");

    QTest::newRow("4 RNAV stores 5") << "rbRnav" << "rbRNAV" << 5 << 12 << "RNAV";
    QTest::newRow("5 TERMINAL stores 4") << "rbTerm" << "rbNamed" << 4 << 6 << "Terminal";
    QTest::newRow("both") << "rbBoth" << "rbNDB" << 3 << 4 << "High/Low";
    QTest::newRow("low, off route") << "rbLow" << "rbOffRoute" << 2 << 9 << "Low";
    QTest::newRow("6 VFR: no usage name") << "rbVFR_2" << "rbUnNamed" << 6 << 1 << "";
    QTest::newRow("VFR type") << "rbHigh" << "rbVFR" << 1 << 10 << "VFR";
}

void TestEditorsWindow::waypointRadios()
{
    QFETCH(QString, usage);
    QFETCH(QString, type);
    QFETCH(int, wuse);
    QFETCH(int, wtyp);
    QFETCH(QString, shown);
    answerEditor([&](QDialog *d) {
        QTest::keyClicks(edit(d, "leName"), QStringLiteral("RADIO"));
        radio(d, usage.toLatin1().constData())->click();
        radio(d, type.toLatin1().constData())->click();
        child<QPushButton>(d, "pbOK")->click();
    });
    m_w->sAddWptToDB(QString(), 45.5, 2.25);
    const QStringList stored = row(wpt(), QStringLiteral("WPT"), QStringLiteral("RADIOAT"));
    QCOMPARE(stored.value(7), QString::number(wtyp));
    QCOMPARE(stored.value(8), QString::number(wuse));
    QCOMPARE(m_fx->scripts.size(), 1);
    QVERIFY2(m_fx->scripts[0].contains(QStringLiteral("\"RADIO-RADIOAT\",%1,").arg(wuse)), qPrintable(m_fx->scripts[0]));
    QVERIFY2(m_fx->scripts[0].contains(QStringLiteral("<br/>RADIO (%1)<br/>").arg(shown)), qPrintable(m_fx->scripts[0]));
}

void TestEditorsWindow::waypointModifyKeepsKey()
{
    answerEditor([&](QDialog *d) {
        // Filling the form leaves the stored key alone.
        QCOMPARE(edit(d, "leUkey")->text(), QStringLiteral("AALTEBE"));
        QCOMPARE(edit(d, "leIden")->text(), QStringLiteral("AALTE"));
        QCOMPARE(edit(d, "leName")->text(), QStringLiteral("AALTE"));
        QCOMPARE(child<QComboBox>(d, "cbCtry")->currentText(), QStringLiteral("BE"));
        QCOMPARE(edit(d, "sbLat")->text(), QStringLiteral("183912.001"));
        QCOMPARE(edit(d, "sbLon")->text(), QStringLiteral("12413.999"));
        QCOMPARE(edit(d, "leTile")->text(), QStringLiteral("131242"));
        QVERIFY(radio(d, "rbNamed")->isChecked());
        QVERIFY(radio(d, "rbTerm")->isChecked());
        child<QPushButton>(d, "pbOK")->click();
    });
    const QStringList before = row(wpt(), QStringLiteral("WPT"), QStringLiteral("AALTEBE"));
    const int rows = count(wpt(), QStringLiteral("WPT"));
    m_w->sAddWptToDB(QStringLiteral("AALTE-AALTEBE"), 0, 0);
    QCOMPARE(row(wpt(), QStringLiteral("WPT"), QStringLiteral("AALTEBE")), before);
    QCOMPARE(count(wpt(), QStringLiteral("WPT")), rows);
    QCOMPARE(boxes().size(), 1);
    QCOMPARE(m_fx->scripts,
             QStringList{QStringLiteral("addWPTMarker2(new google.maps.LatLng(51.08667,3.44833),\"AALTE-AALTEBE\",4,"
                                        "\"<font color=blue><b>Waypoint AALTE</b><font color=black><br/>AALTE (Terminal)"
                                        "<br/>51 05' 12.00 N - 003 26' 54.00 E\",\"AALTEBE\")")});

    // The user's change of country does move the key.
    m_fx->prompt.records.clear();
    answerEditor([&](QDialog *d) {
        setCountry(d, QStringLiteral("FR"));
        QCOMPARE(edit(d, "leUkey")->text(), QStringLiteral("AALTEFR"));
        child<QPushButton>(d, "pbCancel")->click();
    });
    m_w->sAddWptToDB(QStringLiteral("AALTE-AALTEBE"), 0, 0);
}

void TestEditorsWindow::unknownCountryKept_data()
{
    QTest::addColumn<bool>("navaid");
    QTest::addColumn<QString>("pick");   // country picked; empty: none

    QTest::newRow("navaid") << true << "";
    QTest::newRow("waypoint") << false << "";
    QTest::newRow("waypoint, another picked") << false << "FR";
}

void TestEditorsWindow::unknownCountryKept()
{
    QFETCH(bool, navaid);
    QFETCH(QString, pick);
    // XX is no entry of the country list.
    const QSqlDatabase db = navaid ? gen() : wpt();
    const QString table = navaid ? QStringLiteral("NAV") : QStringLiteral("WPT");
    QVERIFY(exec(db, navaid ? QStringLiteral("INSERT INTO NAV VALUES(1,'XX1ZZZ1','ZZZ','ZZZ',112.5,0,0,'XX','',1,0,3,"
                                             "100,200,0,0,0)")
                            : QStringLiteral("INSERT INTO WPT VALUES(1,'ZZZ','ZZZ1XX','ZZZ','XX','',78,6,1,100.0,200.0,"
                                             "0,0.0,0.0,0.0,'')")));
    const QString key = navaid ? QStringLiteral("XX1ZZZ1") : QStringLiteral("ZZZ1XX");
    const QStringList before = row(db, table, key);
    answerEditor([&](QDialog *d) {
        auto *combo = child<QComboBox>(d, "cbCtry");
        QCOMPARE(combo->currentIndex(), -1);
        QCOMPARE(combo->placeholderText(), QStringLiteral("XX"));
        QCOMPARE(edit(d, "leUkey")->text(), key);
        if (!pick.isEmpty())
            setCountry(d, pick);
        child<QPushButton>(d, "pbOK")->click();
    });
    if (navaid)
        m_w->sAddNavToDB(QStringLiteral("ZZZ-") + key, 0, 0);
    else
        m_w->sAddWptToDB(QStringLiteral("ZZZ-") + key, 0, 0);
    QCOMPARE(row(db, table, key), before);
    // A country picked: the key follows it, a new row beside the old.
    if (!pick.isEmpty())
        QCOMPARE(row(db, table, QStringLiteral("ZZZ1FR")).value(4), pick);
}

void TestEditorsWindow::waypointVfrWritesBack()
{
    QVERIFY(exec(wpt(), QStringLiteral("UPDATE WPT SET wtyp = 6, walt = 1500, wmag = -1.5, wnav = 'FR4PGS1' "
                                       "WHERE ukey = 'E1FR'")));
    answerEditor([&](QDialog *d) {
        QVERIFY(radio(d, "rbVFR_2")->isChecked());
        QVERIFY(radio(d, "rbNamed")->isChecked());
        child<QCheckBox>(d, "cbSaveCSV")->setChecked(true);
        child<QPushButton>(d, "pbOK")->click();
    });
    m_w->sAddWptToDB(QStringLiteral("E1-E1FR"), 0, 0);
    QCOMPARE(row(wpt(), QStringLiteral("WPT"), QStringLiteral("E1FR")),
             (QStringList{"166", "E1", "E1FR", "E1", "FR", "", "78", "6", "6", "170539.999", "-3676", "1500", "-1.5",
                          "0", "0", "FR4PGS1"}));
    QCOMPARE(readFile(dataFile(QStringLiteral("E1.CSV"))),
             QByteArray("WPT;WPT;+;166;E1;E1FR;E1;FR;;78;6;6;170539.999;-3676;1500;-1.5;0;0;FR4PGS1"));
    QVERIFY2(m_fx->scripts.value(0).contains(QStringLiteral("\"E1-E1FR\",6,\"<font color=blue><b>Waypoint E1</b>"
                                                            "<font color=black><br/>E1 ()<br/>")),
             qPrintable(m_fx->scripts.value(0)));
}

void TestEditorsWindow::waypointEmptyKeyRefused()
{
    answerEditor([&](QDialog *d) {
        QTest::keyClicks(edit(d, "leName"), QStringLiteral("nokey"));
        edit(d, "leUkey")->clear();
        child<QPushButton>(d, "pbOK")->click();
        QCOMPARE(d->result(), int(QDialog::Rejected));
        child<QPushButton>(d, "pbCancel")->click();
    });
    const int rows = count(wpt(), QStringLiteral("WPT"));
    m_w->sAddWptToDB(QString(), 48.5, 2.25);
    QCOMPARE(boxes().size(), 1);
    QCOMPARE(boxes()[0].icon, CPrompt::Warning);
    QCOMPARE(boxes()[0].title, QStringLiteral("Nouveau WAYPOINT"));
    QCOMPARE(boxes()[0].text, QStringLiteral("La clé unique est vide.\nSaisissez le nom ou la clé du waypoint."));
    QCOMPARE(count(wpt(), QStringLiteral("WPT")), rows);
    QVERIFY(m_fx->scripts.isEmpty());
}

void TestEditorsWindow::waypointKeyTakenAsks_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("replaced");

    QTest::newRow("yes: replaced") << CPrompt::Yes << true;
    QTest::newRow("no: kept, dialog open") << CPrompt::No << false;
}

void TestEditorsWindow::waypointKeyTakenAsks()
{
    QFETCH(QString, answer);
    QFETCH(bool, replaced);
    m_fx->prompt.answers = {answer};
    answerEditor([&](QDialog *d) {
        setCountry(d, QStringLiteral("BE"));
        QTest::keyClicks(edit(d, "leName"), QStringLiteral("aalte"));
        QCOMPARE(edit(d, "leUkey")->text(), QStringLiteral("AALTEBE"));
        radio(d, "rbLow")->click();
        child<QPushButton>(d, "pbOK")->click();
        QCOMPARE(d->result(), replaced ? int(QDialog::Accepted) : int(QDialog::Rejected));
        if (!replaced)
            child<QPushButton>(d, "pbCancel")->click();
    });
    const int rows = count(wpt(), QStringLiteral("WPT"));
    m_w->sAddWptToDB(QString(), 45.5, 2.25);
    const QList<ScriptedPrompt::Record> shown = boxes();
    QVERIFY(!shown.isEmpty());
    QCOMPARE(shown[0].icon, CPrompt::Question);
    QCOMPARE(shown[0].title, QStringLiteral("Nouveau WAYPOINT"));
    QCOMPARE(shown[0].text, QStringLiteral("Le waypoint AALTEBE existe déjà.\nVoulez vous le remplacer ?"));
    QCOMPARE(shown[0].buttons, (QStringList{CPrompt::Yes, CPrompt::No}));
    QCOMPARE(shown.size(), replaced ? 2 : 1);
    QCOMPARE(row(wpt(), QStringLiteral("WPT"), QStringLiteral("AALTEBE")).value(8), replaced ? QStringLiteral("2") : QStringLiteral("4"));
    QCOMPARE(count(wpt(), QStringLiteral("WPT")), rows);
    QCOMPARE(m_fx->scripts.size(), replaced ? 1 : 0);
}

// --- deletion from the map ---

void TestEditorsWindow::deletion_data()
{
    QTest::addColumn<bool>("navaid");
    QTest::addColumn<QString>("answer");

    QTest::newRow("navaid: Effacer") << true << Erase;
    QTest::newRow("navaid: Effacer & Exporter") << true << EraseExport;
    QTest::newRow("navaid: Annuler") << true << Cancel;
    QTest::newRow("navaid: box closed") << true << QString();
    QTest::newRow("waypoint: Effacer") << false << Erase;
    QTest::newRow("waypoint: Effacer & Exporter") << false << EraseExport;
    QTest::newRow("waypoint: Annuler") << false << Cancel;
    QTest::newRow("waypoint: box closed") << false << QString();
}

void TestEditorsWindow::deletion()
{
    QFETCH(bool, navaid);
    QFETCH(QString, answer);
    QVERIFY(exec(gen(), QStringLiteral("INSERT INTO NAV (tile, ukey, iden, name) VALUES (0, 'FR1PGS1', 'PGS', 'PARIS')")));
    const QSqlDatabase db = navaid ? gen() : wpt();
    const QString table = navaid ? QStringLiteral("NAV") : QStringLiteral("WPT");
    const QString key = navaid ? QStringLiteral("FR1PGS1") : QStringLiteral("AALTEBE");
    const QString name = navaid ? QStringLiteral("PARIS") : QStringLiteral("AALTE");
    const QString title = name + u'-' + key;
    const QString kind = navaid ? QStringLiteral("navaid") : QStringLiteral("waypoint");
    const int rows = count(db, table);
    m_fx->prompt.answers = {answer};
    if (navaid)
        m_w->sDelNavFromDB(title);
    else
        m_w->sDelWptFromDB(title);

    const QList<ScriptedPrompt::Record> shown = boxes();
    QVERIFY(!shown.isEmpty());
    const ScriptedPrompt::Record &ask = shown[0];
    QCOMPARE(ask.icon, CPrompt::Question);
    QCOMPARE(ask.title, QString());
    QCOMPARE(ask.text, QStringLiteral("Suppression d'un ") + kind);
    QCOMPARE(ask.informativeText, QStringLiteral("Voulez vous effacer définitivement ") + title + QStringLiteral(" ?"));
    QCOMPARE(ask.buttons, (QStringList{Erase, EraseExport, Cancel}));
    QCOMPARE(ask.defaultButton, EraseExport);

    const bool deleted = answer == Erase || answer == EraseExport;
    QCOMPARE(count(db, table), deleted ? rows - 1 : rows);
    QCOMPARE(row(db, table, key).isEmpty(), deleted);
    const QString script = navaid ? QStringLiteral("delNavaid();theLast == null;") : QStringLiteral("delWaypoint();theLast == null;");
    QCOMPARE(m_fx->scripts, deleted ? QStringList{script} : QStringList());
    const QString path = dataFile(name + QStringLiteral(".CSV"));
    if (!deleted) {
        QCOMPARE(shown.size(), 1);
        QVERIFY(!QFileInfo::exists(path));
        return;
    }
    QCOMPARE(shown.size(), 2);
    QCOMPARE(shown[1].icon, CPrompt::Information);
    QCOMPARE(shown[1].buttons, QStringList{CPrompt::Ok});
    if (answer == Erase) {
        QCOMPARE(shown[1].title, QStringLiteral("Suppression d'un ") + kind);
        QCOMPARE(shown[1].text, QStringLiteral("Le ") + kind + u' ' + title + QStringLiteral(" a été effacé"));
        QVERIFY(!QFileInfo::exists(path));
    } else {
        QCOMPARE(shown[1].title, QStringLiteral("Suppression/export d'un ") + kind);
        QCOMPARE(shown[1].text, QStringLiteral("Le ") + kind + u' ' + name
                                        + QStringLiteral(" a été effacé et enregistrer pour export \ndans ") + path);
        QCOMPARE(readFile(path), navaid ? QByteArray("GEN;NAV;-;ukey;FR1PGS1") : QByteArray("WPT;WPT;-;ukey;AALTEBE"));
    }
}

void TestEditorsWindow::titlesWithDashes()
{
    QVERIFY(exec(gen(), QStringLiteral("INSERT INTO NAV (tile, ukey, iden, name) VALUES (0, 'FR1SJ1', 'SJ', 'SAINT-JEAN')")));
    m_fx->prompt.answers = {EraseExport};
    m_w->sDelNavFromDB(QStringLiteral("SAINT-JEAN-FR1SJ1"));
    QVERIFY(row(gen(), QStringLiteral("NAV"), QStringLiteral("FR1SJ1")).isEmpty());
    const QString path = dataFile(QStringLiteral("SAINT-JEAN.CSV"));
    QCOMPARE(readFile(path), QByteArray("GEN;NAV;-;ukey;FR1SJ1"));
    QCOMPARE(boxes().last().text, QStringLiteral("Le navaid SAINT-JEAN a été effacé et enregistrer pour export \ndans ") + path);

    // The demo's X-RAY has the key X-RAYBE: its marker adds it to the plan,
    // opens it and deletes it.
    const QString xray = QStringLiteral("X-RAY-X-RAYBE");
    m_w->sAddWptToFp(xray);
    const CFlightPlan *plan = CNavGlobalVar::instance()->flightPlan;
    QCOMPARE(plan->count(), 1);
    QCOMPARE(plan->points.at(0)->dbKey, QStringLiteral("X-RAYBE"));
    const QStringList stored = row(wpt(), QStringLiteral("WPT"), QStringLiteral("X-RAYBE"));
    answerEditor([&](QDialog *d) {
        QCOMPARE(edit(d, "leUkey")->text(), QStringLiteral("X-RAYBE"));
        child<QPushButton>(d, "pbOK")->click();
    });
    m_fx->scripts.clear();
    m_w->sAddWptToDB(xray, 0, 0);
    QCOMPARE(m_dialogs, 1);
    QCOMPARE(row(wpt(), QStringLiteral("WPT"), QStringLiteral("X-RAYBE")), stored);
    QCOMPARE(m_fx->scripts.size(), 1);
    // The page is told the key, so that it replaces X-RAY's marker only.
    QVERIFY2(m_fx->scripts[0].contains(QStringLiteral(",\"X-RAY-X-RAYBE\",4,")), qPrintable(m_fx->scripts[0]));
    QVERIFY2(m_fx->scripts[0].endsWith(QStringLiteral(",\"X-RAYBE\")")), qPrintable(m_fx->scripts[0]));
    m_fx->prompt.records.clear();
    m_fx->prompt.answers = {EraseExport};
    m_w->sDelWptFromDB(xray);
    QCOMPARE(boxes()[0].informativeText, QStringLiteral("Voulez vous effacer définitivement X-RAY-X-RAYBE ?"));
    QVERIFY(row(wpt(), QStringLiteral("WPT"), QStringLiteral("X-RAYBE")).isEmpty());
    QCOMPARE(readFile(dataFile(QStringLiteral("X-RAY.CSV"))), QByteArray("WPT;WPT;-;ukey;X-RAYBE"));

    // A name with a dash gives a key with one: created, then deleted from
    // the title of its marker.
    answerEditor([&](QDialog *d) {
        setCountry(d, QStringLiteral("FR"));
        QTest::keyClicks(edit(d, "leName"), QStringLiteral("st-jean"));
        child<QPushButton>(d, "pbOK")->click();
    });
    m_w->sAddWptToDB(QString(), 45.5, 2.25);
    QCOMPARE(row(wpt(), QStringLiteral("WPT"), QStringLiteral("ST-JEFR")).value(3), QStringLiteral("ST-JEAN"));
    m_fx->prompt.answers = {Erase};
    m_w->sDelWptFromDB(QStringLiteral("ST-JEAN-ST-JEFR"));
    QVERIFY(row(wpt(), QStringLiteral("WPT"), QStringLiteral("ST-JEFR")).isEmpty());

    // A hostile waypoint name gives a safe file name.
    QVERIFY(exec(wpt(), QStringLiteral("INSERT INTO WPT (tile, iden, ukey, name) VALUES (0, 'OH', 'OHFR', 'O''Hare \"Intl\" </script>')")));
    m_fx->prompt.answers = {EraseExport};
    m_w->sDelWptFromDB(Hostile + QStringLiteral("-OHFR"));
    QVERIFY(row(wpt(), QStringLiteral("WPT"), QStringLiteral("OHFR")).isEmpty());
    QCOMPARE(readFile(dataFile(QStringLiteral("O'Hare _Intl_ __script_.CSV"))), QByteArray("WPT;WPT;-;ukey;OHFR"));
}

void TestEditorsWindow::deletionNotFound_data()
{
    QTest::addColumn<bool>("navaid");
    QTest::addColumn<QString>("title");

    QTest::newRow("navaid, unknown key") << true << "PARIS-NOSUCH";
    // An ident or a name is no key: nothing is deleted that the box did not name.
    QTest::newRow("navaid, an ident") << true << "X-PGS";
    QTest::newRow("waypoint, a name") << false << "X-AALTE";
    QTest::newRow("navaid, no dash") << true << "PARIS";
    QTest::newRow("navaid, nothing after the dash") << true << "PARIS-";
    QTest::newRow("waypoint, unknown key") << false << "AALTE-NOSUCH";
    QTest::newRow("waypoint, no dash") << false << "AALTEBE";
}

void TestEditorsWindow::deletionNotFound()
{
    QFETCH(bool, navaid);
    QFETCH(QString, title);
    const int navRows = count(gen(), QStringLiteral("NAV"));
    const int wptRows = count(wpt(), QStringLiteral("WPT"));
    m_fx->prompt.answers = {Erase};
    if (navaid)
        m_w->sDelNavFromDB(title);
    else
        m_w->sDelWptFromDB(title);
    QCOMPARE(m_fx->prompt.records.size(), 1);
    QCOMPARE(m_fx->prompt.last().icon, CPrompt::Information);
    QCOMPARE(m_fx->prompt.last().title,
             navaid ? QStringLiteral("Suppression d'un navaid") : QStringLiteral("Suppression d'un waypoint"));
    QCOMPARE(m_fx->prompt.last().text, navaid ? QStringLiteral("Le point sélectionné n'existe pas dans la base")
                                              : QStringLiteral("Le waypoint sélectionné n'existe pas dans la base"));
    QCOMPARE(count(gen(), QStringLiteral("NAV")), navRows);
    QCOMPARE(count(wpt(), QStringLiteral("WPT")), wptRows);
    QVERIFY(m_fx->scripts.isEmpty());
}

void TestEditorsWindow::deletionEmptyTitle()
{
    m_w->sDelNavFromDB(QString());
    m_w->sDelWptFromDB(QString());
    QVERIFY(m_fx->prompt.records.isEmpty());
    QVERIFY(m_fx->scripts.isEmpty());
}

void TestEditorsWindow::deletionFailure_data()
{
    QTest::addColumn<bool>("navaid");
    QTest::addColumn<QString>("answer");

    QTest::newRow("navaid, Effacer") << true << Erase;
    QTest::newRow("navaid, Effacer & Exporter") << true << EraseExport;
    QTest::newRow("waypoint, Effacer & Exporter") << false << EraseExport;
}

void TestEditorsWindow::deletionFailure()
{
    QFETCH(bool, navaid);
    QFETCH(QString, answer);
    const QSqlDatabase db = navaid ? gen() : wpt();
    const QString table = navaid ? QStringLiteral("NAV") : QStringLiteral("WPT");
    QVERIFY(exec(db, QStringLiteral("CREATE TRIGGER keep BEFORE DELETE ON %1 BEGIN SELECT RAISE(ABORT, 'kept'); END").arg(table)));
    const QString title = navaid ? QStringLiteral("BBE-BE2BBE1") : QStringLiteral("AALTE-AALTEBE");
    const QString key = navaid ? QStringLiteral("BE2BBE1") : QStringLiteral("AALTEBE");
    m_fx->prompt.answers = {answer};
    if (navaid)
        m_w->sDelNavFromDB(title);
    else
        m_w->sDelWptFromDB(title);
    const QList<ScriptedPrompt::Record> shown = boxes();
    QCOMPARE(shown.size(), 2);
    QCOMPARE(shown[1].icon, CPrompt::Warning);
    QCOMPARE(shown[1].title, navaid ? QStringLiteral("Suppression d'un navaid") : QStringLiteral("Suppression d'un waypoint"));
    QCOMPARE(shown[1].text, navaid ? QStringLiteral("Le navaid BBE-BE2BBE1 n'a pas pu être effacé de la base.")
                                   : QStringLiteral("Le waypoint AALTE-AALTEBE n'a pas pu être effacé de la base."));
    // The marker stays, and no deletion is recorded.
    QVERIFY(m_fx->scripts.isEmpty());
    QVERIFY(!row(db, table, key).isEmpty());
    QVERIFY(!QFileInfo::exists(dataFile(navaid ? QStringLiteral("BBE.CSV") : QStringLiteral("AALTE.CSV"))));
}

void TestEditorsWindow::deletionExportFailure_data()
{
    QTest::addColumn<bool>("navaid");
    QTest::newRow("navaid") << true;
    QTest::newRow("waypoint") << false;
}

void TestEditorsWindow::deletionExportFailure()
{
    QFETCH(bool, navaid);
    blockDataFolder();
    m_fx->prompt.answers = {EraseExport};
    if (navaid)
        m_w->sDelNavFromDB(QStringLiteral("BBE-BE2BBE1"));
    else
        m_w->sDelWptFromDB(QStringLiteral("AALTE-AALTEBE"));
    const QList<ScriptedPrompt::Record> shown = boxes();
    QCOMPARE(shown.size(), 2);
    QCOMPARE(shown[1].icon, CPrompt::Information);
    QCOMPARE(shown[1].title, navaid ? QStringLiteral("Suppression/export d'un navaid")
                                    : QStringLiteral("Suppression/export d'un waypoint"));
    QCOMPARE(shown[1].text, navaid ? QStringLiteral("Le navaid BBE a été effacé mais l'export à échoué")
                                   : QStringLiteral("Le waypoint AALTE a été effacé mais l'export à échoué"));
    // Deleted all the same, marker gone.
    QCOMPARE(m_fx->scripts.size(), 1);
    QVERIFY(row(navaid ? gen() : wpt(), navaid ? QStringLiteral("NAV") : QStringLiteral("WPT"),
                navaid ? QStringLiteral("BE2BBE1") : QStringLiteral("AALTEBE"))
                    .isEmpty());
}

QTEST_MAIN(TestEditorsWindow)
#include "tst_editors_window.moc"
