// The whole program as a user meets it: the real main window, started two
// levels below a demo simulator tree, with its real map page, driven through
// its widgets and through the calls the page makes, every box answered by
// the scripted prompt and every script the page receives recorded.

#include "app/startup.h"
#include "editors/updatefile.h"
#include "map/webpage.h"
#include "simlink/navplug.h"
#include "tests/support/windowfixture.h"
#include "ui_mainwindow.h"

#include <QWebEnginePage>
#include <QtSql>
#include <QtTest>
#include <QtWidgets>
#include <cmath>

namespace {

const int PageTimeout = 120000;   // a cold web engine on a busy machine

// Every row of a statement as text ("a|b|c"), read behind the program's back.
QStringList rows(const QString &dbFile, const QString &sql)
{
    const QString name = QStringLiteral("journeys");
    QStringList out;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(dbFile);
        QSqlQuery q(db);
        if (!db.open() || !q.exec(sql))
            out << QStringLiteral("<cannot read %1>").arg(dbFile);
        while (q.next()) {
            QStringList values;
            for (int i = 0; i < q.record().count(); ++i)
                values << q.value(i).toString();
            out << values.join(u'|');
        }
    }
    QSqlDatabase::removeDatabase(name);
    return out;
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// The kind, position, key and altitude of each point of a flight-plan file
// (its layout is checked byte for byte by tst_planfiles, fplBytes).
QStringList fplPoints(const QByteArray &file)
{
    static const QRegularExpression tag(QStringLiteral("<(wpnt|llps|dbky|altd)>"));
    const QStringList lines = QString::fromLatin1(file).split(u'\n');
    QStringList out;
    for (int i = 0; i + 1 < lines.size(); ++i) {
        if (tag.match(lines[i]).hasMatch())
            out << lines[i + 1].trimmed();
    }
    return out;
}

constexpr double Rad = 0.017453292519943295;

// Great-circle distance in nautical miles from a to b (degrees).
double distanceNm(QPointF a, QPointF b)
{
    const double c = std::sin(a.x() * Rad) * std::sin(b.x() * Rad)
            + std::cos(a.x() * Rad) * std::cos(b.x() * Rad) * std::cos((b.y() - a.y()) * Rad);
    return std::acos(std::clamp(c, -1.0, 1.0)) / Rad * 60;
}

// The aircraft marker positions (lat, lon) the page was sent.
QList<QPointF> aircraftFixes(const QStringList &scripts, const QString &function)
{
    const QRegularExpression re(QStringLiteral("^%1\\(new google\\.maps\\.LatLng\\(([-0-9.]+),([-0-9.]+)\\),(?:\"\",)?"
                                               "([-0-9.e+]+)\\);").arg(function));
    QList<QPointF> out;
    for (const QString &s : scripts) {
        const QRegularExpressionMatch m = re.match(s);
        if (m.hasMatch())
            out.append({m.captured(1).toDouble(), m.captured(2).toDouble()});
    }
    return out;
}

// Drops local files at a point of a window as the windowing system does.
// True when the drop was taken.
bool dropFiles(QWidget *window, QPoint at, const QStringList &files)
{
    QList<QUrl> urls;
    for (const QString &file : files)
        urls << QUrl::fromLocalFile(file);
    QMimeData data;
    data.setUrls(urls);
    const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;
    QDragEnterEvent enter(at, actions, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window->windowHandle(), &enter);
    QDragMoveEvent move(at, actions, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window->windowHandle(), &move);
    if (!move.isAccepted()) {
        QDragLeaveEvent leave;
        QCoreApplication::sendEvent(window->windowHandle(), &leave);
        return false;
    }
    QDropEvent drop(at, actions, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window->windowHandle(), &drop);
    return drop.isAccepted();
}

// Answers the editor dialogs: fill() sets the fields, then OK.
int fillDialog(QObject *o, const std::function<void(QDialog *)> &fill)
{
    auto *d = qobject_cast<QDialog *>(o);
    if (!d)
        return QDialog::Rejected;
    fill(d);
    QTest::mouseClick(d->findChild<QPushButton *>("pbOK"), Qt::LeftButton);
    return d->result();
}

// One start of the program: a window on its own demo tree, shown, with its
// map page loaded, its link to the program up and the demo's markers in it.
struct Journey {
    WindowFixture fx;
    MainWindow *w = nullptr;

    bool start()
    {
        if (!fx.prepareDemo() || !(w = fx.start(true)))
            return false;
        w->show();
        return QTest::qWaitForWindowExposed(w)
                && QTest::qWaitFor([this] { return !fx.scripts.filter(QStringLiteral("map.setZoom(")).isEmpty(); },
                                   PageTimeout)
                && QTest::qWaitFor([this] { return js(QStringLiteral("mainWindow.__state")).toString() == "ready"; },
                                   PageTimeout)
                && js(QStringLiteral("__navDebug.listSize('listApt')")).toInt() == 859;
    }
    Ui::MainWindow *ui() const { return w->form(); }
    QString db(const QString &file) const { return fx.sim.path(QStringLiteral("SQL/") + file); }

    // Runs a script in the page and waits for its value (the test looking,
    // not the program talking: not recorded).
    QVariant js(const QString &script)
    {
        auto answer = std::make_shared<QPair<bool, QVariant>>(false, QVariant());
        w->page()->runJavaScript(script, [answer](const QVariant &v) { *answer = {true, v}; });
        if (!QTest::qWaitFor([answer] { return answer->first; }, PageTimeout))
            qWarning() << "the page did not answer" << script.left(120);
        return answer->second;
    }
    // Centres the page on a point and right-clicks there: the menu's entries.
    QStringList rightClick(double lat, double lon, int zoom = 0)
    {
        if (zoom)
            w->runJavaScript(QStringLiteral("map.setZoom(%1);map.setCenter(new google.maps.LatLng(%2,%3));")
                                     .arg(zoom).arg(lat, 0, 'f', 6).arg(lon, 0, 'f', 6));
        return js(QStringLiteral("__navDebug.rightClickAt(%1, %2)").arg(lat, 0, 'f', 6).arg(lon, 0, 'f', 6)).toStringList();
    }
    bool choose(const QString &entry) { return js(QStringLiteral("__navDebug.clickMenuItem('%1')").arg(entry)).toBool(); }
    // The message boxes from the record number on: "icon|title|text".
    QStringList boxes(int from = 0) const
    {
        QStringList out;
        for (const ScriptedPrompt::Record &r : fx.prompt.records.mid(from)) {
            if (r.kind == QLatin1String("message"))
                out << QStringLiteral("%1|%2|%3").arg(r.icon).arg(r.title, r.text);
        }
        return out;
    }
    QStringList idents() const
    {
        QStringList out;
        for (int r = 0; r < ui()->fltplnGrid->rowCount(); ++r)
            out << (ui()->fltplnGrid->item(r, 1) ? ui()->fltplnGrid->item(r, 1)->text().trimmed() : QString());
        return out;
    }
};

} // namespace

class TestJourneys : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();

    void planFromMapSavedDroppedAndFlown();
    void navaidEditedAndRestored();
    void englishStart();

private:
    std::unique_ptr<QTranslator> m_translator;
};

void TestJourneys::cleanup()
{
    UpdateFile::setProgramDir(QString());
    CNavPlug::setDefaultBlockName(QString());
    if (m_translator)
        QCoreApplication::removeTranslator(m_translator.get());
    m_translator.reset();
    QLocale::setDefault(QLocale::system());
}

// A plan from the search and the map, saved, cleared, dropped back on the
// map as a file, then flown by the stand-in simulator with the trace on.
void TestJourneys::planFromMapSavedDroppedAndFlown()
{
    Journey j;
    // A tick every 50 ms is plenty to see the aircraft move.
    j.fx.writeSettings(QStringLiteral("[directory]\ndirWork=%1\n[trace]\nintervale=50\n")
                               .arg(j.fx.sim.path(QStringLiteral("Work"))).toUtf8());
    QVERIFY(j.start());
    Ui::MainWindow *ui = j.ui();

    // LFPG searched (Return) and double-clicked; a user waypoint as the
    // page places it; the Limoges VOR-DME from its marker's menu; Toulouse
    // as the page adds an airport.
    QTest::keyClicks(ui->searchData, QStringLiteral("lfpg"));
    QTest::keyClick(ui->searchData, Qt::Key_Return);
    QTreeWidgetItem *found = ui->treeWFound->topLevelItem(0);
    QVERIFY(found && found->text(1) == QLatin1String("LFPG"));
    // What the mouse sends: a click, the second press as a double click, its release.
    ui->treeWFound->scrollToItem(found);
    const QPoint at = ui->treeWFound->visualItemRect(found).center();
    QTest::mouseClick(ui->treeWFound->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(ui->treeWFound->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(ui->treeWFound->viewport(), Qt::LeftButton, {}, at);
    QCOMPARE(j.idents(), QStringList{"LFPG"});
    j.w->runJavaScript(QStringLiteral("mainWindow.sAddNewWptToFp('WP', 47.5, 1.9)"));
    QTRY_COMPARE_WITH_TIMEOUT(j.idents(), (QStringList{"LFPG", "WP001"}), PageTimeout);
    QCOMPARE(j.rightClick(45.815917, 1.025583, 10), (QStringList{"Ajouter au plan de vol", "Modifier", "Supprimer"}));
    QVERIFY(j.choose(QStringLiteral("Ajouter au plan de vol")));
    QTRY_COMPARE_WITH_TIMEOUT(j.idents(), (QStringList{"LFPG", "WP001", "LMG"}), PageTimeout);
    QVERIFY(QMetaObject::invokeMethod(j.w, "sAddAptToFp", Q_ARG(QString, QStringLiteral("LFBO"))));
    const QStringList idents{"LFPG", "WP001", "LMG", "LFBO"};
    QCOMPARE(j.idents(), idents);
    const QStringList labels{"Paris Charles De Gaulle", "WP001", "LIMOGES VOR-DME", "Toulouse Blagnac"};
    QTRY_COMPARE_WITH_TIMEOUT(j.js(QStringLiteral("__navDebug.flightPlanLabels()")).toStringList(), labels, PageTimeout);

    // Saved: the points in the file; the start position offered and
    // refused, the simulator's ini as it was.
    const QString ini = j.fx.sim.path(QStringLiteral("system/Corvane.ini"));
    const QByteArray iniBefore = readAll(ini);
    j.fx.prompt.answers = {CPrompt::Ok, CPrompt::Cancel};
    QTest::mouseClick(ui->btnSaveFlightPlan, Qt::LeftButton);
    QCOMPARE(j.boxes(), (QStringList{"1|Enregistrement plan de vol|Le plan de vol LFPG_LFBO.FPL a été enregistré",
                                     "4|Enregistrement plan de vol|Voulez vous définir LFPG comme départ dans Corvane ?"}));
    const QString saved = j.fx.sim.path(QStringLiteral("Flightplan/LFPG_LFBO.FPL"));
    // A search result takes the cruise altitude; an airport the page adds
    // keeps its elevation.
    const auto point = [&j](const QString &sql) { return rows(j.db("GEN.db"), sql).value(0).split(u'|'); };
    const QStringList lfpg = point("SELECT printf('%.3f,%.3f,%d', alat, alon, aele), ukey, alat, alon FROM APT WHERE ukey = 'LFPG'");
    const QStringList lfbo = point("SELECT printf('%.3f,%.3f,%d', alat, alon, aele), ukey, aele FROM APT WHERE ukey = 'LFBO'");
    const QStringList lmg = point("SELECT printf('%.3f,%.3f,%d', nlat, nlon, nalt), ukey FROM NAV WHERE ukey = 'FR4LMG1'");
    const QString cruise = ui->leAltCruise->text();
    QCOMPARE(fplPoints(readAll(saved)), (QStringList{"airp", lfpg[0], lfpg[1], cruise, "uswp", "171000.000,6840.000,0", "NONE",
                                                      cruise, "snav", lmg[0], lmg[1], "0", "airp", lfbo[0], lfbo[1], lfbo[2]}));
    QVERIFY(QFileInfo::exists(j.fx.sim.path(QStringLiteral("Saved Simulations/PARIS CHARLES DE GAULLE.SIT"))));
    QCOMPARE(readAll(ini), iniBefore);

    // After "Nouveau", dropped on the map: a page of someone else's is not
    // taken; with the plan file, the plan loads as "Charger" loads it,
    // without a question.
    j.fx.prompt.answers = {CPrompt::Ok};
    QTest::mouseClick(ui->btnNewFlightPlan, Qt::LeftButton);
    QTemporaryDir elsewhere;
    const QString foreign = elsewhere.filePath(QStringLiteral("foreign.html"));
    QFile html(foreign);
    QVERIFY(html.open(QIODevice::WriteOnly));
    html.write("<html><body><script>mainWindow.doData('foreign page');mainWindow.sFpLineDel();</script></body></html>");
    html.close();
    const QPoint onMap = ui->map->mapTo(j.w, ui->map->rect().center());
    const int boxesBefore = j.boxes().size();
    QVERIFY(!dropFiles(j.w, onMap, {foreign}));
    QVERIFY(dropFiles(j.w, onMap, {foreign, saved}));
    QTRY_COMPARE_WITH_TIMEOUT(j.idents(), idents, PageTimeout);
    QTRY_COMPARE_WITH_TIMEOUT(j.js(QStringLiteral("__navDebug.flightPlanLabels()")).toStringList(), labels, PageTimeout);
    QCOMPARE(j.boxes().size(), boxesBefore);
    // With a plan in the grid, the question of "Charger"; cancelled, the plan stays.
    j.fx.prompt.answers = {CPrompt::Cancel};
    QVERIFY(dropFiles(j.w, onMap, {saved}));
    QTRY_COMPARE_WITH_TIMEOUT(j.boxes().size(), boxesBefore + 1, PageTimeout);
    QCOMPARE(j.boxes().last(), QStringLiteral("2|Nouveau plan de vol|Voulez vous effacer le plan de vol en cours ?"));
    QCOMPARE(j.idents(), idents);

    // The stand-in simulator flies the saved plan in its own block, 5 s at
    // 2000 kt; the trace follows it, along the first leg.
    const QString block = QStringLiteral("journeys-%1-%2").arg(QCoreApplication::applicationPid()).arg(QRandomGenerator::global()->generate());
    CNavPlug::setDefaultBlockName(block);
    QProcess navsim;
    navsim.setProcessChannelMode(QProcess::MergedChannels);
    navsim.start(QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("navsim")),
                 {"--name", block, "--fpl", saved, "--speed", "2000", "--seconds", "5", "--unlink"});
    QByteArray said;
    QTRY_VERIFY_WITH_TIMEOUT((said += navsim.readAll()).contains("navsim: writing to") || navsim.state() == QProcess::NotRunning,
                             PageTimeout);
    QVERIFY2(navsim.state() == QProcess::Running, said.constData());
    QTest::qWait(500);   // it says so just before its first write
    j.fx.scripts.clear();
    QTest::mouseClick(ui->pbTraceAcft, Qt::LeftButton);
    QVERIFY(ui->pbTraceAcft->isChecked());
    QCOMPARE(aircraftFixes(j.fx.scripts, QStringLiteral("addAcftMrkr")).size(), 1);   // the link is up
    QTRY_VERIFY_WITH_TIMEOUT(navsim.state() == QProcess::NotRunning, 60000);
    QCOMPARE(navsim.exitCode(), 0);
    const QPointF from(lfpg[2].toDouble() / 3600, lfpg[3].toDouble() / 3600);
    const double flownAtEnd = 2000.0 * 5 / 3600;
    const auto lastFix = [&j] {
        const auto ticks = aircraftFixes(j.fx.scripts, "setAcftMrkr");
        return ticks.isEmpty() ? QPointF() : ticks.last();
    };
    QTRY_VERIFY_WITH_TIMEOUT(std::abs(distanceNm(from, lastFix()) - flownAtEnd) < 0.05, 30000);

    // "Centre avion": the map centred on the aircraft standing still, sent
    // once, and the map stays drawn.
    QTest::mouseClick(ui->pbCenterAcft, Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(j.fx.scripts.last().contains(QStringLiteral(";;map.setCenter(new google.maps.LatLng(")), 30000);
    const QList<QPointF> fixes = aircraftFixes(j.fx.scripts, "addAcftMrkr") + aircraftFixes(j.fx.scripts, "setAcftMrkr");
    const QPointF stopped = fixes.last();
    QTRY_VERIFY_WITH_TIMEOUT(std::abs(j.js(QStringLiteral("map.getCenter().lat()")).toDouble() - stopped.x()) < 1e-6, PageTimeout);
    QVERIFY(std::abs(j.js(QStringLiteral("map.getCenter().lng()")).toDouble() - stopped.y()) < 1e-6);
    QTRY_COMPARE_WITH_TIMEOUT(j.js(QStringLiteral("__navDebug.tilesMissing()")).toInt(), 0, PageTimeout);
    QCOMPARE(j.fx.scripts.filter(QStringLiteral(";;map.setCenter(")).size(), 1);
    QTest::mouseClick(ui->pbCenterAcft, Qt::LeftButton);

    // The page shows the aircraft where it stopped.
    const QVariantMap shown = j.js(QStringLiteral("__navDebug.aircraft()")).toMap();
    QVERIFY(std::abs(shown.value("lat").toDouble() - stopped.x()) < 1e-4 && std::abs(shown.value("lng").toDouble() - stopped.y()) < 1e-4);

    // Trace off: the marker goes, nothing more is sent.
    QTest::mouseClick(ui->pbTraceAcft, Qt::LeftButton);
    QCOMPARE(j.fx.scripts.last(), QStringLiteral("eraseAcftMrkr();"));
    const int afterOff = j.fx.scripts.size();
    QTRY_VERIFY_WITH_TIMEOUT(j.js(QStringLiteral("__navDebug.aircraft()")).isNull(), PageTimeout);
    QCOMPARE(j.fx.scripts.size(), afterOff);
}

// A navaid created on a bare point of the map and deleted from its marker's
// menu, each step in GEN.db, in its update file and on the map; then one
// renamed and GEN.db restored.
void TestJourneys::navaidEditedAndRestored()
{
    Journey j;
    QVERIFY(j.start());
    UpdateFile::setProgramDir(j.fx.programDir());   // the update files go to Data beside the program
    const QString dataFile = j.fx.programDir() + QStringLiteral("/Data/JOURNEY VOR.CSV");
    const QString gen = j.db(QStringLiteral("GEN.db")), all = QStringLiteral("SELECT * FROM NAV ORDER BY ukey");
    const QStringList original = rows(gen, all);
    const QString symbol = QStringLiteral("__navDebug.symbolOf('listVOR', 'JOURNEY VOR-FR1JNY1')");
    int dialogs = 0;
    j.fx.prompt.dialogHandler = [&](QObject *o) { return ++dialogs, fillDialog(o, [](QDialog *d) {
        auto *country = d->findChild<QComboBox *>("cbCtry");
        country->setCurrentIndex(country->findText(QStringLiteral("FR")));
        QTest::keyClicks(d->findChild<QLineEdit *>("leIden"), QStringLiteral("jny"));
        d->findChild<QLineEdit *>("leName")->setText(QStringLiteral("JOURNEY VOR"));
        d->findChild<QDoubleSpinBox *>("sbFreq")->setValue(112.3);
        d->findChild<QCheckBox *>("cbSaveCSV")->setChecked(true);
    }); };
    QCOMPARE(j.rightClick(45.0, -4.5, 10), (QStringList{"Nouveau point de report", "Créer un navaid ici",
                                                         "Créer un waypoint ici", "Position de départ ici"}));
    j.fx.prompt.answers = {CPrompt::Ok, CPrompt::Ok};
    QVERIFY(j.choose(QStringLiteral("Créer un navaid ici")));
    QTRY_COMPARE_WITH_TIMEOUT(dialogs, 1, PageTimeout);
    QCOMPARE(j.boxes(), (QStringList{"1|Nouveau NAVAID|JOURNEY VOR a été modifié/ajouté à la base GEN.db",
                                     "1|Nouveau NAVAID: export|Le fichier d'export pour JOURNEY VOR\na été enregistré dans " + dataFile}));
    const QStringList created = rows(gen, "SELECT ntyp, nfrq, nlat, nlon FROM NAV WHERE ukey = 'FR1JNY1'");
    QCOMPARE(created.value(0).section(u'|', 0, 1), QStringLiteral("1|112.3"));
    QVERIFY(readAll(dataFile).startsWith("GEN;NAV;+;") && !readAll(dataFile).endsWith('\n'));
    QCOMPARE(rows(gen, all).size(), original.size() + 1);
    QTRY_VERIFY_WITH_TIMEOUT(!j.js(symbol).toString().isEmpty(), PageTimeout);

    // Deleted from its marker, where the row put it, after the question,
    // the deletion exported.
    const double lat = created.value(0).section(u'|', 2, 2).toDouble() / 3600;
    const double lon = (created.value(0).section(u'|', 3, 3).toDouble() - 1296000) / 3600;
    QVERIFY(std::abs(lat - 45.0) < 0.01 && std::abs(lon + 4.5) < 0.01);
    QCOMPARE(j.rightClick(lat, lon), (QStringList{"Ajouter au plan de vol", "Modifier", "Supprimer"}));
    const int from = j.fx.prompt.records.size();
    j.fx.prompt.answers = {QStringLiteral("Effacer\n& Exporter"), CPrompt::Ok};
    j.fx.scripts.clear();
    QVERIFY(j.choose(QStringLiteral("Supprimer")));
    QTRY_COMPARE_WITH_TIMEOUT(j.boxes(from).size(), 2, PageTimeout);
    const ScriptedPrompt::Record asked = j.fx.prompt.records.at(from);
    QCOMPARE(asked.informativeText, QStringLiteral("Voulez vous effacer définitivement JOURNEY VOR-FR1JNY1 ?"));
    QCOMPARE(asked.buttons, (QStringList{"Effacer", "Effacer\n& Exporter", "Annuler"}));
    QCOMPARE(j.fx.scripts, QStringList{"delNavaid();theLast == null;"});
    QCOMPARE(readAll(dataFile), QByteArray("GEN;NAV;-;ukey;FR1JNY1"));
    QCOMPARE(rows(gen, all), original);
    QTRY_VERIFY_WITH_TIMEOUT(j.js(symbol).toString().isEmpty(), PageTimeout);

    // Then a navaid renamed from its marker; GEN.db restored from the menu:
    // the map shows it as it was.
    const QStringList pgs = rows(gen, "SELECT nlat / 3600.0, nlon / 3600.0 FROM NAV WHERE ukey = 'FR4PGS1'").value(0).split(u'|');
    const double pgsLat = pgs.value(0).toDouble(), pgsLon = pgs.value(1).toDouble();
    auto vor = [&](const QString &title) { return j.js(QStringLiteral("__navDebug.symbolOf('listVOR', '%1')").arg(title)).toString(); };

    QCOMPARE(j.rightClick(pgsLat, pgsLon, 12), (QStringList{"Ajouter au plan de vol", "Modifier", "Supprimer"}));
    j.fx.prompt.dialogHandler = [](QObject *o) {
        return fillDialog(o, [](QDialog *d) {
            d->findChild<QLineEdit *>("leName")->setText(QStringLiteral("RENAMED VOR"));
            d->findChild<QCheckBox *>("cbSaveCSV")->setChecked(false);
        });
    };
    j.fx.prompt.answers = {CPrompt::Ok};
    QVERIFY(j.choose(QStringLiteral("Modifier")));
    QTRY_VERIFY_WITH_TIMEOUT(!vor(QStringLiteral("RENAMED VOR-FR4PGS1")).isEmpty(), PageTimeout);
    const QStringList edited = rows(gen, all);
    QVERIFY(edited != original);

    // The dialog lists the copy of GEN.db; the user clicks it, then "Restaurer".
    QStringList listed;
    j.fx.prompt.dialogHandler = [&](QObject *o) -> int {
        auto *d = qobject_cast<QDialog *>(o);
        if (!d)
            return QDialog::Rejected;
        auto *tree = d->findChild<QTreeWidget *>("treeCopies");
        QTreeWidgetItem *chosen = nullptr;
        for (QTreeWidgetItemIterator it(tree); *it; ++it) {
            listed << (*it)->text(0) + u'|' + (*it)->text(2);
            if ((*it)->text(0) == QLatin1String("Copie 1"))
                chosen = *it;
        }
        d->show();
        if (!chosen || !QTest::qWaitForWindowExposed(d))
            return QDialog::Rejected;
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(chosen).center());
        QTest::mouseClick(d->findChild<QPushButton *>("pbRestore"), Qt::LeftButton);
        return d->result();
    };
    j.fx.scripts.clear();
    const int restoreFrom = j.fx.prompt.records.size();
    j.ui()->actRestore->trigger();
    QCOMPARE(j.boxes(restoreFrom), QStringList{QStringLiteral("1|Restauration|GEN.db a été restauré depuis GEN.db.bak1.\nLe fichier tel "
                                                   "qu'il était avant est gardé dans %1 : restaurez-le pour revenir en arrière.")
                                            .arg(QDir::toNativeSeparators(gen + ".before-restore"))});
    QCOMPARE(listed, (QStringList{"GEN.db|", "Copie 1|Lignes différentes : 2",
                                  "NAV|2 (1 dans la copie seulement, 1 dans le fichier actuel seulement)"}));
    QCOMPARE(rows(gen, all), original);
    QCOMPARE(rows(gen + ".before-restore", all), edited);
    QCOMPARE(j.fx.scripts.first(), QStringLiteral("clearNavData();"));
    QTRY_VERIFY_WITH_TIMEOUT(!vor(QStringLiteral("PGS-FR4PGS1")).isEmpty(), PageTimeout);
    QVERIFY(vor(QStringLiteral("RENAMED VOR-FR4PGS1")).isEmpty());
    QCOMPARE(j.js(QStringLiteral("__navDebug.listSize('listApt')")).toInt(), 859);
    const QString info = j.js(QStringLiteral("__navDebug.clickAt(%1, %2)").arg(pgsLat, 0, 'f', 6).arg(pgsLon, 0, 'f', 6)).toString();
    QVERIFY2(info.contains(QLatin1String("PARIS CHARLES DE GAULLE VOR-DME")), qPrintable(info));
}

// The same window in English: nothing it shows or offers is still French.
void TestJourneys::englishStart()
{
    const QString system = QLocale::system().name();
    if (NavStartup::isFrench(system))
        QSKIP("the system language is French here; ctest runs this journey as tst_journeys_english, "
              "under an English locale");
    QLocale::setDefault(QLocale(QStringLiteral("en_US")));
    m_translator = std::make_unique<QTranslator>();
    QVERIFY(NavStartup::chooseLanguage(*qApp, *m_translator, system, QCoreApplication::applicationDirPath()));
    QVERIFY2(!m_translator->isEmpty(), "the English translation was not loaded");
    WindowFixture fx;
    QVERIFY(fx.prepareDemo());
    MainWindow *w = fx.start(false);
    QVERIFY(w && fx.prompt.records.isEmpty());

    // The French texts the translation changes, and the letters and words
    // only French texts of this program hold.
    QSet<QString> french;
    QFile ts(QStringLiteral(CORVANE_SOURCE_DIR "/app/translations/corvanenavigator_en.ts"));
    QVERIFY(ts.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&ts);
    QString source;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("source")) {
            source = xml.readElementText();
        } else if (xml.name() == QLatin1String("translation") && xml.attributes().value("type").isEmpty()) {
            const QString translation = xml.readElementText();
            if (!translation.isEmpty() && translation != source)
                french.insert(source);
        }
    }
    QVERIFY2(french.size() > 100, "no translated texts found in the translation source");
    static const QRegularExpression frenchText(QStringLiteral("[éèêëàâçîïôûùœÉÈÊÀÇÔ«»]|\\b(de|du|des|le|la|les|une|et|sur|pour|"
                                                              "aux|avec|vous|votre|ce|cette)\\b"),
                                               QRegularExpression::CaseInsensitiveOption);
    // Every text of the window, its widgets and actions: titles (the docks'
    // tabs show them), captions, labels, tips, placeholders and headers.
    QStringList stillFrench;
    const QObjectList objects = w->findChildren<QObject *>() << w;
    for (QObject *o : std::as_const(objects)) {
        QStringList texts;
        for (const char *property : {"windowTitle", qobject_cast<QLineEdit *>(o) ? "" : "text", "title", "iconText", "toolTip", "statusTip", "whatsThis",
                                     "placeholderText", "prefix", "suffix", "plainText"})
            texts << o->property(property).toString();
        if (auto *tree = qobject_cast<QTreeWidget *>(o)) {
            for (int i = 0; i < tree->columnCount(); ++i)
                texts << tree->headerItem()->text(i);
        }
        if (auto *table = qobject_cast<QTableWidget *>(o)) {
            for (int i = 0; i < table->columnCount(); ++i)
                texts << (table->horizontalHeaderItem(i) ? table->horizontalHeaderItem(i)->text() : QString());
        }
        for (const QString &text : std::as_const(texts)) {
            if (!text.trimmed().isEmpty() && (french.contains(text) || frenchText.match(text).hasMatch()))
                stillFrench << o->objectName() + QStringLiteral(": ") + text;
        }
    }
    stillFrench.removeDuplicates();
    QVERIFY2(stillFrench.isEmpty(), qPrintable(stillFrench.join(u'\n')));
}

QTEST_MAIN(TestJourneys)
#include "tst_journeys.moc"
