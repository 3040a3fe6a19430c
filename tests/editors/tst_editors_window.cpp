// The navaid, waypoint and position dialogs and the window slots that open
// them or delete from the map, on the demo tree: every box through the
// scripted prompt, every script sent to the page, every row and update file
// read back.

#include "app/navglobalvar.h"
#include "editors/dialoglatlon.h"
#include "editors/updatefile.h"
#include "tests/support/windowfixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>

namespace {

const QString Hostile = QStringLiteral("O'Hare \"Intl\" </script>");
const QString EraseExport = QStringLiteral("Effacer\n& Exporter");

template <class T>
T *child(QObject *parent, const QString &name)
{
    return parent->findChild<T *>(name);
}

} // namespace

class TestEditorsWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void edit_data();
    void edit();
    void positionDialog();

private:
    QSqlDatabase db(bool navaid) const;
    QString row(bool navaid, const QString &key) const;
    // "icon|title|text[|informative][|buttons]" of every box shown; an
    // expected one ending with '*' stands for any text that starts with it.
    void compareBoxes(QStringList expected) const;
    QString dataDir() const { return m_fx->programDir() + QStringLiteral("/Data"); }
    QString dataFiles() const;   // "NAME.CSV=contents" of the update files
    // One step of filling a dialog.
    static void step(QDialog *d, const QString &step);

    WindowFixture *m_fx = nullptr;
    MainWindow *m_w = nullptr;
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
}

void TestEditorsWindow::cleanup()
{
    UpdateFile::setProgramDir(QString());
    delete m_fx;
    m_fx = nullptr;
}

QSqlDatabase TestEditorsWindow::db(bool navaid) const
{
    const CNavGlobalVar *config = CNavGlobalVar::instance();
    return QSqlDatabase::database(navaid ? config->genName : config->wptName);
}

QString TestEditorsWindow::row(bool navaid, const QString &key) const
{
    QSqlQuery q(db(navaid));
    q.prepare(navaid ? QStringLiteral("SELECT * FROM NAV WHERE ukey = ?") : QStringLiteral("SELECT * FROM WPT WHERE ukey = ?"));
    q.addBindValue(key);
    QStringList out;
    if (q.exec() && q.next())
        for (int i = 0; i < q.record().count(); ++i)
            out << q.value(i).toString();
    return out.join(u'|');
}

void TestEditorsWindow::compareBoxes(QStringList expected) const
{
    QStringList shown;
    for (const ScriptedPrompt::Record &r : m_fx->prompt.records) {
        if (r.kind != QLatin1String("message"))
            continue;
        QStringList fields{QStringLiteral(" IWCQ").mid(int(r.icon), 1), r.title, r.text};
        if (!r.informativeText.isEmpty())
            fields << r.informativeText;
        if (r.buttons != QStringList{CPrompt::Ok})
            fields << r.buttons.join(u',');
        shown << fields.join(u'|');
        const qsizetype i = shown.size() - 1;
        if (i < expected.size()) {
            expected[i].replace(QStringLiteral("%data"), dataDir());
            if (expected[i].endsWith(u'*') && shown[i].startsWith(expected[i].chopped(1)))
                shown[i] = expected[i];
        }
    }
    QCOMPARE(shown, expected);
}

QString TestEditorsWindow::dataFiles() const
{
    QStringList out;
    for (const QString &name : QDir(dataDir()).entryList(QDir::Files)) {
        QFile f(dataDir() + u'/' + name);
        out << name + u'=' + QString::fromLatin1(f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray());
    }
    return out.join(u'\n');
}

// "field:text" types into a line edit ("ukey:" clears the key), "ctry:XX"
// picks a country, "freq:N" sets the frequency, "rbX" clicks a radio,
// "csv" asks for the update file, "sql:..." runs a statement on GEN, "ok"
// clicks OK (and OK again after the steps);
// "?field:text" checks a line edit, "?type:rbX" the one type radio checked
// (none if empty), "?ctry:XX" a country outside the list.
void TestEditorsWindow::step(QDialog *d, const QString &step)
{
    const QString what = step.section(u':', 0, 0);
    const QString value = step.section(u':', 1);
    if (what == QLatin1String("ctry")) {
        auto *combo = child<QComboBox>(d, QStringLiteral("cbCtry"));
        combo->setCurrentIndex(combo->findText(value));
    } else if (what == QLatin1String("?ctry")) {
        QCOMPARE(child<QComboBox>(d, QStringLiteral("cbCtry"))->currentIndex(), -1);
        QCOMPARE(child<QComboBox>(d, QStringLiteral("cbCtry"))->placeholderText(), value);
    } else if (what == QLatin1String("freq")) {
        child<QDoubleSpinBox>(d, QStringLiteral("sbFreq"))->setValue(value.toDouble());
    } else if (what == QLatin1String("csv")) {
        child<QCheckBox>(d, QStringLiteral("cbSaveCSV"))->setChecked(true);
    } else if (what == QLatin1String("sql")) {
        QSqlQuery q(QSqlDatabase::database(CNavGlobalVar::instance()->genName));
        QVERIFY(q.exec(value));
    } else if (what == QLatin1String("?type")) {
        for (const char *name : {"rbVOR", "rbTACAN", "rbNDB", "rbVORDME", "rbNDBDME"})
            QCOMPARE(child<QRadioButton>(d, QLatin1String(name))->isChecked(), value == QLatin1String(name));
    } else if (what == QLatin1String("ok")) {
        child<QPushButton>(d, QStringLiteral("pbOK"))->click();
    } else if (what == QLatin1String("cancel")) {
        return;   // clicked after the steps
    } else if (what.startsWith(QLatin1String("rb"))) {
        child<QRadioButton>(d, what)->click();
    } else if (what.startsWith(u'?')) {
        QCOMPARE(child<QLineEdit>(d, QStringLiteral("le") + what.mid(1))->text(), value);
    } else if (value.isEmpty()) {
        child<QLineEdit>(d, QStringLiteral("le") + what)->clear();
    } else {
        QTest::keyClicks(child<QLineEdit>(d, QStringLiteral("le") + what), value);
    }
}

void TestEditorsWindow::edit_data()
{
    QTest::addColumn<bool>("navaid");
    QTest::addColumn<QString>("title");      // of the marker; empty: a new point at 48.5 N 2.25 W
    QTest::addColumn<QString>("setup");      // a statement run before ("block": Data is a file)
    QTest::addColumn<QStringList>("steps");  // then OK (or "cancel"); "delete": deleted from the map
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<bool>("open");          // the dialog stayed open after OK
    QTest::addColumn<QString>("key");        // of the row read back
    QTest::addColumn<QString>("row");        // empty: none; "=": as before
    QTest::addColumn<QString>("script");     // the one sent; "*": one, any
    QTest::addColumn<QString>("files");      // the update files

    const QStringList del{QStringLiteral("delete")};
    const QString nt = QString::number(CNavGlobalVar::instance()->tileKey(174600, 1287900));
    const QString newNav = QStringLiteral("I|Nouveau NAVAID|%1 a été modifié/ajouté à la base GEN.db");
    const QString newWpt = QStringLiteral("I|Nouveau WAYPOINT|%1 a été modifié/ajouté à la base WPT.db");
    const QString noNav = QStringLiteral("GEN;NAV;+;");

    QTest::newRow("new hostile NDB, exported")
            << true << "" << "" << QStringList{"ctry:FR", "Iden:oh", "?Iden:OH", "?Ukey:FR1OH1", "rbNDB", "?Ukey:FR5OH1",
                                               "Name:" + Hostile, "rbTerm", "freq:356", "csv"}
            << QStringList{} << QStringList{newNav.arg(Hostile), "I|Nouveau NAVAID: export|Le fichier d'export pour " + Hostile
                                            + "\na été enregistré dans %data/O'Hare _Intl_ __script_.CSV"}
            << false << "FR5OH1" << nt + "|FR5OH1|OH|" + Hostile + "|356|0|0|FR||8|0|4|174600|1287900|0|0|0"
            << "addNDBMarker2(new google.maps.LatLng(48.50000,-2.25000),\"O'Hare \\\"Intl\\\" </script>-FR5OH1\",4,"
               "\"<font color=blue><b>NDB OH</b><font color=black><br/>O'Hare &quot;Intl&quot; &lt;/script&gt;<br/>"
               "356 Khz<br/>48 30' 00.00 N - 002 15' 00.00 W\",\"FR5OH1\")"
            << "O'Hare _Intl_ __script_.CSV=" + noNav + nt + ";FR5OH1;OH;" + Hostile
                       + ";356;0;0;FR;;8;0;4;174600.00;1287900.00;0;0;0";
    const QString pgsAsk = QStringLiteral("Q|Nouveau NAVAID|Le navaid PGS existe déja.\nVoulez vous continuer ?|Yes,No");
    QTest::newRow("ident taken: asked, one more than FR1PGS10")
            << true << "" << "INSERT INTO NAV (tile, ukey, iden, name) VALUES (0, 'FR1PGS10', 'PGS', 'P')"
            << QStringList{"ctry:FR", "Iden:pgs", "?Ukey:FR1PGS11", "cancel"} << QStringList{"Yes"}
            << QStringList{pgsAsk} << false << "FR1PGS11" << "" << "" << "";
    QTest::newRow("no key, NDB 1750, VOR 118 refused")
            << true << "" << "" << QStringList{"ok", "ctry:FR", "Iden:ZZ", "Name:F", "rbNDBDME", "freq:1750", "ok", "rbVOR", "freq:118"}
            << QStringList{} << QStringList{"W|Nouveau NAVAID|La clé unique est vide.\nSaisissez l'identifiant du navaid.",
                                            "W|Création NDB|La fréquence doit être comprise entre 180 et 1750 Khz.",
                                            "W|Création VOR|La fréquence doit être comprise entre 108.000 et 117.95 Mhz."}
            << true << "FR1ZZ1" << "" << "" << "";
    QTest::newRow("key taken by another before OK")
            << true << "" << ""
            << QStringList{"ctry:FR", "Iden:QQ", "sql:INSERT INTO NAV (tile, ukey, iden, name) VALUES (0, 'FR1QQ1', 'QQ', 'OTHER')",
                           "Name:MINE"} << QStringList{}
            << QStringList{"W|Nouveau NAVAID|La clé FR1QQ1 est déjà celle d'un autre navaid.\nChangez l'identifiant, le type ou le pays."}
            << true << "FR1QQ1" << "0|FR1QQ1|QQ|OTHER|||||||||||||" << "" << "";
    // Unchanged, a stored type stays: a TACAN filed under 4; a DME-ILS under
    // 16 shows no radio.
    QTest::newRow("4 stays")
            << true << "BBE-BE2BBE1" << "" << QStringList{"?type:rbTACAN", "?Ukey:BE2BBE1"} << QStringList{}
            << QStringList{newNav.arg("BEAUVECHAIN TACAN")} << false << "BE2BBE1"
            << "196777|BE2BBE1|BBE|BEAUVECHAIN TACAN|116|0|0|BE||4|0|3|182723|17165|370|0|100" << "*" << "";
    QTest::newRow("16 made a VOR")
            << true << "IAD-BE3IAD1" << "" << QStringList{"?type:", "rbVOR", "?Ukey:BE1IAD1"} << QStringList{}
            << QStringList{newNav.arg("EBAW 29 DME-ILS")} << false << "BE1IAD1"
            << "196778|BE1IAD1|IAD|EBAW 29 DME-ILS|111.75|0|0|BE||1|0|4|184293.7|16024.1|39|0|18" << "*" << "";
    QTest::newRow("navaid of a country outside the list")
            << true << "ZZZ-XX1ZZZ1" << "INSERT INTO NAV VALUES(1,'XX1ZZZ1','ZZZ','ZZZ',112.5,0,0,'XX','',1,0,3,100,200,0,0,0)"
            << QStringList{"?ctry:XX"} << QStringList{} << QStringList{newNav.arg("ZZZ")} << false << "XX1ZZZ1"
            << "1|XX1ZZZ1|ZZZ|ZZZ|112.5|0|0|XX||1|0|3|100|200|0|0|0" << "*" << "";
    const QString refused = QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON %1 BEGIN SELECT RAISE(ABORT, 'refused here'); END");
    QTest::newRow("navaid not written")
            << true << "" << refused.arg("NAV") << QStringList{"ctry:FR", "Iden:RF", "Name:REFUS", "csv"} << QStringList{}
            << QStringList{"W|Nouveau NAVAID: mise à jour|Une erreur s'est produite pendant la modification/ajout de REFUS "
                           "dans la base GEN.db :\nrefused here*"} << true << "FR1RF1" << "" << "" << "";

    QTest::newRow("new waypoint, 4 RNAV stores 5, exported")
            << false << "" << "" << QStringList{"?Ukey:AT", "ctry:FR", "?Ukey:FR", "Name:abc", "?Name:ABC", "?Iden:ABC",
                                                "?Ukey:ABCFR", "rbRnav", "csv"}
            << QStringList{} << QStringList{newWpt.arg("ABC"), "I|Nouveau WAYPOINT: export|Le fichier d'export pour ABC\n"
                                                              "a été enregistré dans %data/ABC.CSV"}
            << false << "ABCFR" << nt + "|ABC|ABCFR|ABC|FR||78|1|5|174600|1287900|0|0|0|0|"
            << "addWPTMarker2(new google.maps.LatLng(48.50000,-2.25000),\"ABC-ABCFR\",5,\"<font color=blue><b>Waypoint "
               "ABC</b><font color=black><br/>ABC (RNAV)<br/>48 30' 00.00 N - 002 15' 00.00 W\",\"ABCFR\")"
            << "ABC.CSV=WPT;WPT;+;" + nt + ";ABC;ABCFR;ABC;FR;;78;1;5;174600.00;1287900.00;0;0;0;0;";
    QTest::newRow("new waypoint with a dash")
            << false << "" << "" << QStringList{"ctry:FR", "Name:st-jean", "?Ukey:ST-JEFR"} << QStringList{}
            << QStringList{newWpt.arg("ST-JEAN")} << false << "ST-JEFR"
            << nt + "|ST-J|ST-JEFR|ST-JEAN|FR||78|1|1|174600|1287900|0|0|0|0|" << "*" << "";
    // The page is told the key, so that it replaces X-RAY's marker only.
    QTest::newRow("waypoint X-RAY unchanged")
            << false << "X-RAY-X-RAYBE" << "" << QStringList{"?Ukey:X-RAYBE"} << QStringList{}
            << QStringList{newWpt.arg("X-RAY")} << false << "X-RAYBE" << "="
            << "addWPTMarker2(new google.maps.LatLng(50.46167,4.40333),\"X-RAY-X-RAYBE\",4,\"<font color=blue><b>Waypoint "
               "X-RAY</b><font color=black><br/>X-RAY (Terminal)<br/>50 27' 42.00 N - 004 24' 12.00 E\",\"X-RAYBE\")"
            << "";
    QTest::newRow("waypoint without a key")
            << false << "" << "" << QStringList{"Name:nokey", "Ukey:"} << QStringList{}
            << QStringList{"W|Nouveau WAYPOINT|La clé unique est vide.\nSaisissez le nom ou la clé du waypoint."} << true
            << "" << "" << "" << "";
    const QString aalteAsk = QStringLiteral("Q|Nouveau WAYPOINT|Le waypoint AALTEBE existe déjà.\nVoulez vous le remplacer ?|Yes,No");
    QTest::newRow("waypoint key taken: replaced")
            << false << "" << "" << QStringList{"ctry:BE", "Name:aalte", "rbLow"} << QStringList{"Yes"}
            << QStringList{aalteAsk, newWpt.arg("AALTE")} << false << "AALTEBE"
            << nt + "|AALT|AALTEBE|AALTE|BE||78|1|2|174600|1287900|0|0|0|0|" << "*" << "";
    QTest::newRow("waypoint not written")
            << false << "" << refused.arg("WPT") << QStringList{"Name:refus", "csv"} << QStringList{}
            << QStringList{"W|Nouveau WAYPOINT: mise à jour|Une erreur s'est produite\n pendant la modification/ajout de "
                           "REFUS dans la base WPT.db :\nrefused here*"} << true << "REFUSAT" << "" << "" << "";
    QTest::newRow("navaid of an unknown key") << true << "BBE-NOSUCH" << "" << QStringList{"no dialog"} << QStringList{}
            << QStringList{"I|Modification d'un navaid|Le navaid BBE-NOSUCH n'existe pas dans la base"}
            << false << "BE2BBE1" << "=" << "" << "";
    // Deleting from the marker's title, after asking.
    const QString ask = QStringLiteral("Q||Suppression d'un %1|Voulez vous effacer définitivement %2 ?|"
                                       "Effacer,Effacer\n& Exporter,Annuler");
    const QString delNav = QStringLiteral("delNavaid();theLast == null;");
    const QString delWpt = QStringLiteral("delWaypoint();theLast == null;");
    QTest::newRow("navaid deleted") << true << "BBE-BE2BBE1" << "" << del << QStringList{"Effacer"}
            << QStringList{ask.arg("navaid", "BBE-BE2BBE1"), "I|Suppression d'un navaid|Le navaid BBE-BE2BBE1 a été effacé"}
            << false << "BE2BBE1" << "" << delNav << "";
    QTest::newRow("waypoint with a dashed key deleted, exported") << false << "X-RAY-X-RAYBE" << "" << del << QStringList{EraseExport}
            << QStringList{ask.arg("waypoint", "X-RAY-X-RAYBE"), "I|Suppression/export d'un waypoint|Le waypoint X-RAY a été "
                                                                "effacé et enregistrer pour export \ndans %data/X-RAY.CSV"}
            << false << "X-RAYBE" << "" << delWpt << "X-RAY.CSV=WPT;WPT;-;ukey;X-RAYBE";
    QTest::newRow("waypoint not deleted") << false << "AALTE-AALTEBE" << "" << del << QStringList{"Annuler"}
            << QStringList{ask.arg("waypoint", "AALTE-AALTEBE")} << false << "AALTEBE" << "=" << "" << "";
    // An ident is no key: nothing is deleted that the box did not name.
    QTest::newRow("navaid ident") << true << "X-BBE" << "" << del << QStringList{"Effacer"}
            << QStringList{"I|Suppression d'un navaid|Le point sélectionné n'existe pas dans la base"}
            << false << "BE2BBE1" << "=" << "" << "";
    QTest::newRow("navaid kept by the database") << true << "BBE-BE2BBE1"
            << "CREATE TRIGGER keep BEFORE DELETE ON NAV BEGIN SELECT RAISE(ABORT, 'kept'); END" << del << QStringList{EraseExport}
            << QStringList{ask.arg("navaid", "BBE-BE2BBE1"), "W|Suppression d'un navaid|Le navaid BBE-BE2BBE1 n'a pas pu être "
                                                            "effacé de la base."} << false << "BE2BBE1" << "=" << "" << "";
    QTest::newRow("waypoint deleted, export failing") << false << "AALTE-AALTEBE" << "block" << del << QStringList{EraseExport}
            << QStringList{ask.arg("waypoint", "AALTE-AALTEBE"), "I|Suppression/export d'un waypoint|Le waypoint AALTE a été "
                                                                "effacé mais l'export à échoué"}
            << false << "AALTEBE" << "" << delWpt << "";
}

void TestEditorsWindow::edit()
{
    QFETCH(bool, navaid);
    QFETCH(QString, title);
    QFETCH(QString, setup);
    QFETCH(QStringList, steps);
    QFETCH(QString, key);
    QFETCH(QString, row);
    QFETCH(QString, script);
    QFile blocker(dataDir());
    QSqlQuery q(db(navaid));
    if (setup == QLatin1String("block"))
        QVERIFY(QDir(dataDir()).removeRecursively() && blocker.open(QIODevice::WriteOnly));
    else
        QVERIFY(setup.isEmpty() || q.exec(setup));
    const QString before = this->row(navaid, key);
    QFETCH(QStringList, answers);
    m_fx->prompt.answers = answers;
    int dialogs = 0;
    bool open = false;
    m_fx->prompt.dialogHandler = [&](QObject *o) -> int {
        auto *d = qobject_cast<QDialog *>(o);
        ++dialogs;
        for (const QString &s : steps)
            step(d, s);
        const bool cancel = steps.contains(QStringLiteral("cancel"));
        child<QPushButton>(d, cancel ? QStringLiteral("pbCancel") : QStringLiteral("pbOK"))->click();
        if ((open = d->result() != QDialog::Accepted && !cancel))
            child<QPushButton>(d, QStringLiteral("pbCancel"))->click();
        return d->result();
    };
    const bool deleting = steps == QStringList{QStringLiteral("delete")};
    if (deleting)
        navaid ? m_w->sDelNavFromDB(title) : m_w->sDelWptFromDB(title);
    else
        navaid ? m_w->sAddNavToDB(title, 48.5, -2.25) : m_w->sAddWptToDB(title, 48.5, -2.25);
    QCOMPARE(dialogs, deleting || steps == QStringList{QStringLiteral("no dialog")} ? 0 : 1);
    QTEST(open, "open");
    QFETCH(QStringList, boxes);
    compareBoxes(boxes);
    QCOMPARE(this->row(navaid, key), row == QLatin1String("=") ? before : row);
    if (script != QLatin1String("*"))
        QCOMPARE(m_fx->scripts, script.isEmpty() ? QStringList() : QStringList{script});
    QCOMPARE(m_fx->scripts.size(), script.isEmpty() ? 0 : 1);
    QTEST(dataFiles(), "files");
}

void TestEditorsWindow::positionDialog()
{
    // A press on the navaid editor's position opens the position dialog at
    // it; what is accepted there fills the position and the tile.
    QStringList opened;
    m_fx->prompt.dialogHandler = [&](QObject *o) -> int {
        if (auto *p = qobject_cast<CDialogLatLon *>(o)) {
            opened << QStringLiteral("%1 %2").arg(p->lat).arg(p->lon);
            p->setLatLon(180000, 1287900);
            return QDialog::Accepted;
        }
        auto *d = qobject_cast<QDialog *>(o);
        QTest::mousePress(child<QLineEdit>(d, QStringLiteral("sbLon")), Qt::LeftButton);
        opened << child<QLineEdit>(d, QStringLiteral("sbLat"))->text() + u' '
                        + child<QLineEdit>(d, QStringLiteral("sbLon"))->text() + u' '
                        + child<QLineEdit>(d, QStringLiteral("leTile"))->text();
        return QDialog::Rejected;
    };
    m_w->sAddNavToDB(QString(), 48.5, 2.25);
    QCOMPARE(opened, (QStringList{"174600 8100", "180000.00 1287900.00 "
                                                     + QString::number(CNavGlobalVar::instance()->tileKey(180000, 1287900))}));

    CDialogLatLon d;
    d.setLatLon(91.5 * 3600, 8100);
    d.show();
    QVERIFY(QTest::qWaitForWindowActive(&d));
    auto *latDeg = child<QSpinBox>(&d, QStringLiteral("sbLatDeg"));
    auto *latMin = child<QSpinBox>(&d, QStringLiteral("sbLatMin"));
    auto *ns = child<QComboBox>(&d, QStringLiteral("cbNS"));
    // Beyond the pole the number field shows the value, the degree fields
    // stop at 90 degrees 0 minutes; filling recomputes nothing.
    QCOMPARE(child<QLineEdit>(&d, QStringLiteral("edLat"))->text(), QStringLiteral("329400.00"));
    QCOMPARE(latDeg->value() * 100 + latMin->value(), 9000);
    QCOMPARE(d.lat, 329400.0);
    // A field with the focus recomputes, and at 90 degrees no minutes are
    // left.
    d.setLatLon(89.5 * 3600, 8100);
    latDeg->setFocus();
    latDeg->setValue(90);
    QCOMPARE(latMin->value(), 0);
    QCOMPARE(d.lat, 324000.0);
    // The hemisphere keeps the size and gives the sign.
    ns->setFocus();
    ns->setCurrentIndex(1);
    QCOMPARE(d.lat, -324000.0);
}

QTEST_MAIN(TestEditorsWindow)
#include "tst_editors_window.moc"
