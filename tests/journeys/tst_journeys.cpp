// The whole program as a user meets it: the real main window, started two
// levels below a demo simulator tree, with its real map page, driven through
// its widgets and through the calls the page makes, every box answered by
// the scripted prompt and every script the page receives recorded.

#include "app/navglobalvar.h"
#include "app/startup.h"
#include "editors/dialognav.h"
#include "editors/dialogwpt.h"
#include "editors/updatefile.h"
#include "map/webpage.h"
#include "simlink/navplug.h"
#include "tests/support/windowfixture.h"
#include "ui_mainwindow.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QDockWidget>
#include <QDoubleSpinBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSet>
#include <QSettings>
#include <QSignalSpy>
#include <QSpinBox>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStatusBar>
#include <QTabBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QTranslator>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QWebEngineView>
#include <QWindow>
#include <QXmlStreamReader>

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>

namespace {

const int PageTimeout = 120000;   // a cold web engine on a busy machine

QString binDir()
{
    return QCoreApplication::applicationDirPath();
}

// --- reading the simulator's databases behind the program's back ---------

// Every row of a table as text, one line per row, in key order.
QStringList tableRows(const QString &dbFile, const QString &table, const QString &orderBy)
{
    static int serial = 0;
    const QString name = QStringLiteral("journeys-read-%1").arg(++serial);
    QStringList rows;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(dbFile);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (db.open()) {
            QSqlQuery q(db);
            if (q.exec(QStringLiteral("SELECT * FROM %1 ORDER BY %2").arg(table, orderBy))) {
                while (q.next()) {
                    QStringList values;
                    for (int i = 0; i < q.record().count(); ++i)
                        values << q.value(i).toString();
                    rows << values.join(u'|');
                }
            } else {
                rows << QStringLiteral("<error %1>").arg(q.lastError().text());
            }
        } else {
            rows << QStringLiteral("<cannot open %1>").arg(dbFile);
        }
    }
    QSqlDatabase::removeDatabase(name);
    return rows;
}

// The first row of a statement with one bound value, as a name -> value map.
QVariantMap firstRow(const QString &dbFile, const QString &sql, const QVariant &value)
{
    static int serial = 0;
    const QString name = QStringLiteral("journeys-row-%1").arg(++serial);
    QVariantMap row;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(dbFile);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (db.open()) {
            QSqlQuery q(db);
            q.prepare(sql);
            q.addBindValue(value);
            if (q.exec() && q.next()) {
                for (int i = 0; i < q.record().count(); ++i)
                    row.insert(q.record().fieldName(i), q.value(i));
            }
        }
    }
    QSqlDatabase::removeDatabase(name);
    return row;
}

// Lines first (a readable difference), then every byte.
#define COMPARE_FILE(actual, expected)                                                            \
    do {                                                                                          \
        const QByteArray a_ = (actual);                                                           \
        const QByteArray e_ = (expected);                                                         \
        QCOMPARE(QString::fromLatin1(a_).split(u'\n'), QString::fromLatin1(e_).split(u'\n'));   \
        QCOMPARE(a_, e_);                                                                         \
    } while (false)

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

QString fixed(double value, int decimals)
{
    return QString::number(value, 'f', decimals);
}

// --- the flight-plan file as the simulator reads it ----------------------

struct FplPoint {
    QString kind;
    QString name;
    QString ident;
    double lat = 0;
    double lon = 0;
    int elevation = 0;
    QString key;
    QString usage;
    int altitude = 0;
    QString runways;   // take-off and landing runway lines
};

QByteArray expectedFpl(const QList<FplPoint> &points, int version, int ceiling)
{
    QString text = QStringLiteral("<bgno> == Generated with corvane Navigator ==\n"
                                  "\t<form> ---- Format Type -----------------\n"
                                  "\twpno=1, format=FM01\n"
                                  "\t<desc> ========== Description ===========\n");
    text += QStringLiteral("\tFlight plan from %1 to %2\n").arg(points.first().ident, points.last().ident);
    text += QStringLiteral("\t<vers> ---------- Version number --------\n\t%1\n").arg(version);
    text += QStringLiteral("\t<ceil> -----------Average ceil ----------\n\t%1\n").arg(ceiling);
    for (const FplPoint &p : points) {
        text += QStringLiteral("\t<wpnt> --------- Waypoint ---------------\n\t") + p.kind + u'\n';
        text += QStringLiteral("\t<bgno> ========== BEGIN OBJECT ==========\n");
        text += QStringLiteral("\t\t<name> ---------- Waypoint name ---------\n\t\t") + p.name + u'\n';
        text += QStringLiteral("\t\t<iden> ---------- Waypoint identity -----\n\t\t") + p.ident + u'\n';
        text += QStringLiteral("\t\t<llps> ---------- Lat/lon,alt position --\n\t\t")
                + fixed(p.lat, 3) + u',' + fixed(p.lon, 3) + u',' + QString::number(p.elevation) + u'\n';
        text += QStringLiteral("\t\t<dbky> ---------- Database key ----------\n\t\t") + p.key + u'\n';
        text += QStringLiteral("\t\t<user> ---------- Waypoint usage --------\n\t\t") + p.usage + u'\n';
        text += QStringLiteral("\t\t<altd> --- Altitude (feet) at WPT -------\n\t\t") + QString::number(p.altitude) + u'\n';
        text += QStringLiteral("\t\t<tkof> --- Take off runway --------------\n\t\t") + p.runways + u'\n';
        text += QStringLiteral("\t\t<land> --- Landing runway ---------------\n\t\t") + p.runways + u'\n';
        text += QStringLiteral("\t\t<mark> --- Terminated mark- -------------\n\t\t\n");
        text += QStringLiteral("\t<endo> ========== END OBJECT ============\n");
    }
    text += QStringLiteral("<endo> ========== END OBJECT ============\n");
    return text.toLatin1();
}

// --- positions ---------------------------------------------------------------

constexpr double Rad = 0.017453292519943295;

struct LatLon {
    double lat = 0;   // degrees
    double lon = 0;
};

// Great-circle distance in nautical miles.
double distanceNm(LatLon a, LatLon b)
{
    const double c = std::sin(a.lat * Rad) * std::sin(b.lat * Rad)
            + std::cos(a.lat * Rad) * std::cos(b.lat * Rad) * std::cos((b.lon - a.lon) * Rad);
    return std::acos(std::clamp(c, -1.0, 1.0)) / Rad * 60;
}

// Initial true course from a to b, degrees in [0, 360).
double courseDeg(LatLon a, LatLon b)
{
    const double dl = (b.lon - a.lon) * Rad;
    const double y = std::sin(dl) * std::cos(b.lat * Rad);
    const double x = std::cos(a.lat * Rad) * std::sin(b.lat * Rad)
            - std::sin(a.lat * Rad) * std::cos(b.lat * Rad) * std::cos(dl);
    double c = std::atan2(y, x) / Rad;
    while (c < 0)
        c += 360;
    return std::fmod(c, 360);
}

// Signed cross-track distance of p from the great circle a -> b, nm.
double crossTrackNm(LatLon a, LatLon b, LatLon p)
{
    const double d13 = distanceNm(a, p) / 60 * Rad;
    const double t13 = courseDeg(a, p) * Rad;
    const double t12 = courseDeg(a, b) * Rad;
    return std::asin(std::sin(d13) * std::sin(t13 - t12)) / Rad * 60;
}

double angleDiff(double a, double b)
{
    double d = std::fmod(std::abs(a - b), 360);
    return d > 180 ? 360 - d : d;
}

// --- texts that are still French ------------------------------------------

// The French source texts of the English translation whose translation
// differs from them: a widget showing one of them was not translated.
QSet<QString> translatedSources()
{
    QSet<QString> sources;
    QFile ts(QStringLiteral(CORVANE_SOURCE_DIR "/app/translations/corvanenavigator_en.ts"));
    if (!ts.open(QIODevice::ReadOnly))
        return sources;
    QXmlStreamReader xml(&ts);
    QString source;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == QLatin1String("source")) {
            source = xml.readElementText();
        } else if (xml.name() == QLatin1String("translation")) {
            const QString type = xml.attributes().value(QLatin1String("type")).toString();
            const QString translation = xml.readElementText();
            if (type.isEmpty() && !translation.isEmpty() && translation != source)
                sources.insert(source);
        }
    }
    return sources;
}

// Letters and words that only French texts of this program hold.
bool looksFrench(const QString &text)
{
    static const QRegularExpression accents(QStringLiteral("[éèêëàâçîïôûùœÉÈÊÀÇÔ«»]"));
    static const QRegularExpression words(
            QStringLiteral("\\b(de|du|des|le|la|les|une|et|sur|pour|aux|avec|vous|votre|ce|cette)\\b"),
            QRegularExpression::CaseInsensitiveOption);
    return accents.match(text).hasMatch() || words.match(text).hasMatch();
}

struct ShownText {
    QString where;
    QString text;
};

// Every text the window shows or offers: titles, captions, labels, headers,
// tabs, menu and action texts, tool and status tips, the debug pane.
QList<ShownText> shownTexts(MainWindow *w)
{
    QList<ShownText> out;
    auto add = [&out](const QObject *o, const char *what, const QString &text) {
        if (!text.trimmed().isEmpty()) {
            const QString name = o->objectName().isEmpty() ? QString::fromLatin1(o->metaObject()->className())
                                                            : o->objectName();
            out.append({name + u'.' + QLatin1String(what), text});
        }
    };
    add(w, "windowTitle", w->windowTitle());
    const QList<QWidget *> widgets = w->findChildren<QWidget *>();
    for (QWidget *widget : widgets) {
        if (qobject_cast<QWebEngineView *>(widget->parentWidget()))
            continue;
        add(widget, "toolTip", widget->toolTip());
        add(widget, "statusTip", widget->statusTip());
        add(widget, "whatsThis", widget->whatsThis());
        if (auto *b = qobject_cast<QAbstractButton *>(widget))
            add(b, "text", b->text());
        if (auto *l = qobject_cast<QLabel *>(widget))
            add(l, "text", l->text());
        if (auto *g = qobject_cast<QGroupBox *>(widget))
            add(g, "title", g->title());
        if (auto *d = qobject_cast<QDockWidget *>(widget))
            add(d, "windowTitle", d->windowTitle());
        if (auto *m = qobject_cast<QMenu *>(widget))
            add(m, "title", m->title());
        if (auto *e = qobject_cast<QLineEdit *>(widget))
            add(e, "placeholderText", e->placeholderText());
        if (auto *t = qobject_cast<QTextEdit *>(widget))
            add(t, "text", t->toPlainText());
        if (auto *s = qobject_cast<QSpinBox *>(widget)) {
            add(s, "prefix", s->prefix());
            add(s, "suffix", s->suffix());
        }
        if (auto *tabs = qobject_cast<QTabBar *>(widget)) {
            for (int i = 0; i < tabs->count(); ++i) {
                add(tabs, "tab", tabs->tabText(i));
                add(tabs, "tabToolTip", tabs->tabToolTip(i));
            }
        }
        if (auto *tree = qobject_cast<QTreeWidget *>(widget)) {
            for (int i = 0; i < tree->columnCount(); ++i)
                add(tree, "header", tree->headerItem()->text(i));
        }
        if (auto *table = qobject_cast<QTableWidget *>(widget)) {
            for (int i = 0; i < table->columnCount(); ++i) {
                if (const QTableWidgetItem *h = table->horizontalHeaderItem(i))
                    add(table, "header", h->text());
            }
        }
    }
    const QList<QAction *> actions = w->findChildren<QAction *>();
    for (QAction *a : actions) {
        add(a, "text", a->text());
        add(a, "iconText", a->iconText());
        add(a, "toolTip", a->toolTip());
        add(a, "statusTip", a->statusTip());
        add(a, "whatsThis", a->whatsThis());
    }
    return out;
}

// Drops local files at a point of a window as the windowing system does:
// the window hands the drag to the widget under the point that takes
// drops. True when the drop was taken.
bool dropFiles(QWidget *window, QPoint at, const QStringList &files)
{
    QList<QUrl> urls;
    for (const QString &file : files)
        urls << QUrl::fromLocalFile(file);
    QMimeData data;
    data.setUrls(urls);
    QWindow *handle = window->windowHandle();
    const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;
    QDragEnterEvent enter(at, actions, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(handle, &enter);
    QDragMoveEvent move(at, actions, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(handle, &move);
    if (!move.isAccepted()) {
        QDragLeaveEvent leave;
        QCoreApplication::sendEvent(handle, &leave);
        return false;
    }
    QDropEvent drop(at, actions, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(handle, &drop);
    return drop.isAccepted();
}

template <class T>
T *child(QObject *parent, const char *name)
{
    T *c = parent->findChild<T *>(QString::fromLatin1(name));
    if (!c)
        qFatal("no widget %s", name);
    return c;
}

// The positions of the aircraft marker the page was sent, in order.
struct MarkerFix {
    LatLon pos;
    double value = 0;
};

QList<MarkerFix> aircraftFixes(const QStringList &scripts, const QString &function)
{
    static const QString number = QStringLiteral("(-?[0-9.]+(?:e[-+]?[0-9]+)?)");
    const QRegularExpression re(QRegularExpression::escape(function)
                                + QStringLiteral("\\(new google\\.maps\\.LatLng\\(\\s*%1,\\s*%1\\),(?:\"\",)?%1\\);")
                                          .arg(number));
    QList<MarkerFix> out;
    for (const QString &s : scripts) {
        const QRegularExpressionMatch m = re.match(s);
        if (m.hasMatch() && m.capturedStart() == 0)
            out.append({{m.captured(1).toDouble(), m.captured(2).toDouble()}, m.captured(3).toDouble()});
    }
    return out;
}

} // namespace

// One start of the program: a window on its own demo tree, shown, with its
// map page.
class Journey
{
public:
    Journey() = default;
    ~Journey() { stop(); }

    WindowFixture fx;
    MainWindow *w = nullptr;

    Ui::MainWindow *ui() const { return w->form(); }
    QString root() const { return fx.sim.root(); }
    QString db(const QString &file) const { return fx.sim.path(QStringLiteral("SQL/") + file); }

    // Constructs and shows the window; the map page loads.
    bool start()
    {
        w = fx.start(true);
        if (!w)
            return false;
        w->show();
        return QTest::qWaitForWindowExposed(w);
    }
    void stop()
    {
        fx.stop();
        w = nullptr;
    }

    // Runs a script in the page and waits for its value (not recorded: it is
    // the test looking, not the program talking).
    QVariant js(const QString &script)
    {
        struct Answer {
            bool done = false;
            QVariant value;
        };
        auto answer = std::make_shared<Answer>();
        if (!w || !w->page())
            return {};
        w->page()->runJavaScript(script, [answer](const QVariant &value) {
            answer->value = value;
            answer->done = true;
        });
        if (!QTest::qWaitFor([answer] { return answer->done; }, PageTimeout))
            qWarning() << "the page did not answer" << script.left(120);
        return answer->value;
    }

    // The page is loaded, its link to the program is up and the markers of
    // the demo tree are in it; the program has centred it.
    bool waitForMap(int airports = 859)
    {
        // The program centres the page once it has sent the markers.
        if (!QTest::qWaitFor([this] { return !fx.scripts.filter(QStringLiteral("map.setZoom(")).isEmpty(); },
                             PageTimeout))
            return false;
        if (!QTest::qWaitFor([this] { return js(QStringLiteral("mainWindow.__state")).toString() == QLatin1String("ready"); },
                             PageTimeout))
            return false;
        return js(QStringLiteral("__navDebug.listSize('listApt')")).toInt() == airports;
    }

    // Centres the page (as the program does) and waits until it is there.
    bool look(double lat, double lon, int zoom)
    {
        w->runJavaScript(QStringLiteral("map.setZoom(%1);map.setCenter(new google.maps.LatLng(%2,%3));")
                                 .arg(zoom)
                                 .arg(lat, 0, 'f', 6)
                                 .arg(lon, 0, 'f', 6));
        return js(QStringLiteral("map.getZoom()")).toInt() == zoom;
    }

    // Right-clicks the map at a position and chooses an entry of the menu
    // the page opens; the page then calls the program.
    QStringList rightClick(double lat, double lon)
    {
        return js(QStringLiteral("__navDebug.rightClickAt(%1, %2)").arg(lat, 0, 'f', 6).arg(lon, 0, 'f', 6))
                .toStringList();
    }
    bool choose(const QString &entry)
    {
        return js(QStringLiteral("__navDebug.clickMenuItem('%1')").arg(entry)).toBool();
    }

    QList<ScriptedPrompt::Record> boxes(int from = 0) const
    {
        QList<ScriptedPrompt::Record> out;
        for (int i = from; i < fx.prompt.records.size(); ++i) {
            if (fx.prompt.records.at(i).kind == QLatin1String("message"))
                out << fx.prompt.records.at(i);
        }
        return out;
    }

    QStringList gridColumn(int column) const
    {
        QStringList out;
        for (int r = 0; r < ui()->fltplnGrid->rowCount(); ++r) {
            const QTableWidgetItem *item = ui()->fltplnGrid->item(r, column);
            out << (item ? item->text().trimmed() : QString());
        }
        return out;
    }
    QList<QStringList> gridRows() const
    {
        QList<QStringList> rows;
        for (int r = 0; r < ui()->fltplnGrid->rowCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < ui()->fltplnGrid->columnCount(); ++c) {
                const QTableWidgetItem *item = ui()->fltplnGrid->item(r, c);
                cells << (item ? item->text() : QString());
            }
            rows << cells;
        }
        return rows;
    }

    // The centre the window shows in its status bar, as the page reported it.
    QString centreLabel() const
    {
        for (QLabel *label : w->statusBar()->findChildren<QLabel *>()) {
            if (label->text().startsWith(QLatin1String("Centre:")))
                return label->text();
        }
        return {};
    }
    QString zoomLabel() const
    {
        for (QLabel *label : w->statusBar()->findChildren<QLabel *>()) {
            if (label->text().startsWith(QLatin1String("Zoom:")))
                return label->text();
        }
        return {};
    }
};

class TestJourneys : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void firstStartAsksWorkFolderThenReopensWhereTheMapWas();
    void planFromSearchAndMapSavedNewAndLoaded_data();
    void planFromSearchAndMapSavedNewAndLoaded();
    void sidFromPlanListedDrawnDeleted();
    void editsCarriedToAnotherInstallation_data();
    void editsCarriedToAnotherInstallation();
    void navaidRestoredFromTheMenu();
    void traceFollowsTheSavedPlan();
    void planFileDroppedOnTheMap();
    void englishStart();

private:
    // Double-clicks an item of a tree, as the user does.
    static void doubleClick(QTreeWidget *tree, QTreeWidgetItem *item);
    static void click(QTreeWidget *tree, QTreeWidgetItem *item);
    // The plan of the journeys: LFPG from the search, a user waypoint and
    // the Limoges VOR-DME placed from the map, LFBO added by the page.
    void buildPlan(Journey &j);
    QList<FplPoint> planPoints(Journey &j) const;

    std::unique_ptr<QTranslator> m_translator;
};

void TestJourneys::initTestCase()
{
    for (const char *file : {"gm_navigator_fr.html", "gm_navigator_en.html", "bridge.js", "web/navigator.js",
                             "web/navtexts.js", "web/navtiles.js", "web/navbasemap.js", "web/navroutes.js",
                             "web/navmarkers.js", "web/navplan.js", "web/navaircraft.js", "web/navview.js",
                             "web/navmenus.js", "web/leaflet.js", "corvanenavigator_en.qm", "navsim"}) {
        QVERIFY2(QFileInfo::exists(QDir(binDir()).filePath(QString::fromLatin1(file))),
                 qPrintable(QStringLiteral("%1 is not beside the program in %2").arg(QLatin1String(file), binDir())));
    }
}

void TestJourneys::cleanup()
{
    UpdateFile::setProgramDir(QString());
    CNavPlug::setDefaultBlockName(QString());
    if (m_translator) {
        QCoreApplication::removeTranslator(m_translator.get());
        m_translator.reset();
    }
    QLocale::setDefault(QLocale::system());
}

void TestJourneys::doubleClick(QTreeWidget *tree, QTreeWidgetItem *item)
{
    tree->scrollToItem(item);
    const QPoint at = tree->visualItemRect(item).center();
    // What the mouse sends: a click, then the second press as a double
    // click, then its release.
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseDClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseRelease(tree->viewport(), Qt::LeftButton, Qt::NoModifier, at);
}

void TestJourneys::click(QTreeWidget *tree, QTreeWidgetItem *item)
{
    tree->scrollToItem(item);
    const QPoint at = tree->visualItemRect(item).center();
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier, at);
}

// --- (a) first start, quit, second start ---------------------------------

void TestJourneys::firstStartAsksWorkFolderThenReopensWhereTheMapWas()
{
    Journey j;
    QVERIFY(j.fx.prepareDemo());
    // A first start: no settings beside the program.
    QVERIFY(QFile::remove(j.fx.settingsFile()));
    const QString work = j.fx.sim.path(QStringLiteral("Work"));
    j.fx.prompt.answers = {work};
    QVERIFY(j.start());

    QCOMPARE(j.fx.prompt.records.size(), 1);
    const ScriptedPrompt::Record asked = j.fx.prompt.records.first();
    QCOMPARE(asked.kind, QStringLiteral("directory"));
    QCOMPARE(asked.title, QStringLiteral("Sélectionner le répertoire de travail"));
    QCOMPARE(asked.dir, binDir());
    QCOMPARE(j.w->windowTitle(), QStringLiteral("Corvane Navigator - Version 0.21 juillet 2013"));

    // The map comes up: the French page, every airport, the default view.
    QVERIFY(j.waitForMap());
    QCOMPARE(QFileInfo(j.w->page()->url().toLocalFile()).fileName(), QStringLiteral("gm_navigator_fr.html"));
    QCOMPARE(j.js(QStringLiteral("__navDebug.lang")).toString(), QStringLiteral("fr"));
    QVERIFY(j.fx.scripts.contains(QStringLiteral("map.setCenter(new google.maps.LatLng(49.00000,2.00000));")));
    QVERIFY(j.fx.scripts.contains(QStringLiteral("map.setZoom(6)")));
    QVERIFY(j.ui()->debugText->toPlainText().contains(QStringLiteral("Airport: 859 éléments chargés")));
    QTRY_COMPARE_WITH_TIMEOUT(j.zoomLabel(), QStringLiteral("Zoom: 6"), PageTimeout);

    // The user moves the map; the page tells the window where it is.
    j.w->runJavaScript(QStringLiteral("map.setZoom(8);map.setCenter(new google.maps.LatLng(45.5,3.25));"));
    QTRY_VERIFY_WITH_TIMEOUT(j.centreLabel().startsWith(QStringLiteral("Centre: 45.50000  3.25000\n")), PageTimeout);
    QTRY_COMPARE_WITH_TIMEOUT(j.zoomLabel(), QStringLiteral("Zoom: 8"), PageTimeout);

    // Quit: the window closes without a question (no plan) and the settings
    // are written when it goes.
    QVERIFY(j.w->close());
    QCOMPARE(j.fx.prompt.records.size(), 1);
    j.stop();
    {
        QSettings ini(j.fx.settingsFile(), QSettings::IniFormat);
        QCOMPARE(ini.value(QStringLiteral("directory/dirWork")).toString(), work);
        const QPointF centre = ini.value(QStringLiteral("view/mapCenter")).toPointF();
        QCOMPARE(centre.x(), 3.25);
        QCOMPARE(centre.y(), 45.5);
        QCOMPARE(ini.value(QStringLiteral("view/zoom")).toDouble(), 8.0);
    }

    // The second start asks nothing and opens where the map was.
    j.fx.prompt.records.clear();
    j.fx.scripts.clear();
    QVERIFY(j.start());
    QVERIFY(j.waitForMap());
    QVERIFY(j.fx.prompt.records.isEmpty());
    QVERIFY(j.fx.scripts.contains(QStringLiteral("map.setCenter(new google.maps.LatLng(45.50000,3.25000));")));
    QVERIFY(j.fx.scripts.contains(QStringLiteral("map.setZoom(8)")));
    QCOMPARE(j.js(QStringLiteral("map.getZoom()")).toInt(), 8);
    QVERIFY(std::abs(j.js(QStringLiteral("map.getCenter().lat()")).toDouble() - 45.5) < 1e-6);
    QVERIFY(std::abs(j.js(QStringLiteral("map.getCenter().lng()")).toDouble() - 3.25) < 1e-6);
    QTRY_VERIFY_WITH_TIMEOUT(j.centreLabel().startsWith(QStringLiteral("Centre: 45.50000  3.25000\n")), PageTimeout);
}

// --- (b) a plan from the search and the map, saved, cleared, loaded ----------

void TestJourneys::buildPlan(Journey &j)
{
    Ui::MainWindow *ui = j.ui();

    // Search: the user types lfpg and presses Return, then double-clicks
    // the airport found.
    ui->searchData->clear();
    QTest::keyClicks(ui->searchData, QStringLiteral("lfpg"));
    QTest::keyClick(ui->searchData, Qt::Key_Return);
    QCOMPARE(ui->searchData->text(), QStringLiteral("LFPG"));
    QVERIFY(ui->treeWFound->topLevelItemCount() >= 1);
    QTreeWidgetItem *found = ui->treeWFound->topLevelItem(0);
    QCOMPARE(found->text(1), QStringLiteral("LFPG"));
    QCOMPARE(found->text(3), QStringLiteral("Paris Charles De Gaulle"));
    QCOMPARE(found->childCount(), 8);   // four runways, two ends each
    doubleClick(ui->treeWFound, found);
    QCOMPARE(j.gridColumn(1), QStringList{QStringLiteral("LFPG")});
    QVERIFY(ui->btnSaveFlightPlan->isEnabled());
    QVERIFY(ui->menuSaveFlightPlan->isEnabled());
    // The airport's procedures are listed at once.
    QCOMPARE(ui->dockWSid->windowTitle(), QStringLiteral("SID : LFPG"));

    // A user waypoint, as the page places it.
    j.w->runJavaScript(QStringLiteral("mainWindow.sAddNewWptToFp('WP', 47.5, 1.9)"));
    QTRY_COMPARE_WITH_TIMEOUT(j.gridColumn(1), (QStringList{"LFPG", "WP001"}), PageTimeout);

    // The Limoges VOR-DME, from its marker's menu on the map.
    QVERIFY(j.look(45.815917, 1.025583, 10));
    const QStringList menu = j.rightClick(45.815917, 1.025583);
    QCOMPARE(menu, (QStringList{"Ajouter au plan de vol", "Modifier", "Supprimer"}));
    QCOMPARE(j.js(QStringLiteral("__navDebug.menuTitle()")).toString(), QStringLiteral("LMG"));
    QVERIFY(j.choose(QStringLiteral("Ajouter au plan de vol")));
    QTRY_COMPARE_WITH_TIMEOUT(j.gridColumn(1), (QStringList{"LFPG", "WP001", "LMG"}), PageTimeout);

    // Toulouse, as the page adds an airport.
    QVERIFY(QMetaObject::invokeMethod(j.w, "sAddAptToFp", Q_ARG(QString, QStringLiteral("LFBO"))));
    QCOMPARE(j.gridColumn(1), (QStringList{"LFPG", "WP001", "LMG", "LFBO"}));
}

QList<FplPoint> TestJourneys::planPoints(Journey &j) const
{
    const QVariantMap lfpg = firstRow(j.db(QStringLiteral("GEN.db")),
                                      QStringLiteral("SELECT * FROM APT WHERE ukey = ?"), QStringLiteral("LFPG"));
    const QVariantMap lfbo = firstRow(j.db(QStringLiteral("GEN.db")),
                                      QStringLiteral("SELECT * FROM APT WHERE ukey = ?"), QStringLiteral("LFBO"));
    const QVariantMap lmg = firstRow(j.db(QStringLiteral("GEN.db")),
                                     QStringLiteral("SELECT * FROM NAV WHERE ukey = ?"), QStringLiteral("FR4LMG1"));
    const int cruiseAltitude = j.ui()->leAltCruise->text().toInt();
    auto airport = [](const QVariantMap &row) {
        return FplPoint{QStringLiteral("airp"), row.value("name").toString(), row.value("iden").toString(),
                        row.value("alat").toDouble(), row.value("alon").toDouble(), row.value("aele").toInt(),
                        row.value("ukey").toString(), QStringLiteral("airp"), row.value("aele").toInt(), QString()};
    };
    // A search result takes the aircraft dock's cruise altitude; an airport
    // the page adds keeps its elevation as altitude.
    FplPoint departure = airport(lfpg);
    departure.altitude = cruiseAltitude;
    return {departure,
            FplPoint{"uswp", "WP001", "WP001", 47.5 * 3600, 1.9 * 3600, 0, "NONE", "uswp", cruiseAltitude, "NONE"},
            FplPoint{"snav", lmg.value("name").toString(), "LMG", lmg.value("nlat").toDouble(),
                     lmg.value("nlon").toDouble(), lmg.value("nalt").toInt(), "FR4LMG1", "snav", 0, QString()},
            airport(lfbo)};
}

void TestJourneys::planFromSearchAndMapSavedNewAndLoaded_data()
{
    QTest::addColumn<bool>("fromMenu");
    QTest::newRow("saved with Ctrl+S") << true;
    QTest::newRow("saved with the Enregistrer button") << false;
}

void TestJourneys::planFromSearchAndMapSavedNewAndLoaded()
{
    QFETCH(bool, fromMenu);
    Journey j;
    QVERIFY(j.fx.prepareDemo());
    QVERIFY(j.start());
    QVERIFY(j.waitForMap());
    Ui::MainWindow *ui = j.ui();
    QVERIFY(!ui->btnSaveFlightPlan->isEnabled());
    buildPlan(j);
    if (QTest::currentTestFailed())
        return;

    // The route is drawn on the map, named as the grid names it.
    QTRY_COMPARE_WITH_TIMEOUT(j.js(QStringLiteral("__navDebug.flightPlanLabels()")).toStringList(),
                              (QStringList{"Paris Charles De Gaulle", "WP001", "LIMOGES VOR-DME", "Toulouse Blagnac"}),
                              PageTimeout);
    QCOMPARE(j.gridColumn(0), (QStringList{"Airport", "Waypoint", "Navaid", "Airport"}));
    const QList<QStringList> before = j.gridRows();
    const QString ini = j.fx.sim.path(QStringLiteral("system/Corvane.ini"));
    const QByteArray iniBefore = readAll(ini);

    // Save: the file is written, then the start position is offered and
    // refused.
    const int firstBox = j.fx.prompt.records.size();
    j.fx.prompt.answers = {CPrompt::Ok, CPrompt::Cancel};
    if (fromMenu) {
        j.w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(j.w));
        QTest::keyClick(j.w, Qt::Key_S, Qt::ControlModifier);
    } else
        QTest::mouseClick(ui->btnSaveFlightPlan, Qt::LeftButton);
    QList<ScriptedPrompt::Record> shown = j.boxes(firstBox);
    QCOMPARE(shown.size(), 2);
    QCOMPARE(shown[0].icon, CPrompt::Information);
    QCOMPARE(shown[0].title, QStringLiteral("Enregistrement plan de vol"));
    QCOMPARE(shown[0].text, QStringLiteral("Le plan de vol LFPG_LFBO.FPL a été enregistré"));
    QCOMPARE(shown[1].icon, CPrompt::Question);
    QCOMPARE(shown[1].title, QStringLiteral("Enregistrement plan de vol"));
    QCOMPARE(shown[1].text, QStringLiteral("Voulez vous définir LFPG comme départ dans Corvane ?"));
    QCOMPARE(shown[1].buttons, (QStringList{CPrompt::Ok, CPrompt::Cancel}));

    const QString saved = j.fx.sim.path(QStringLiteral("Flightplan/LFPG_LFBO.FPL"));
    const QList<FplPoint> points = planPoints(j);
    const int ceiling = ui->leAircraftCeiling->text().toInt();
    COMPARE_FILE(readAll(saved), expectedFpl(points, 1, ceiling));
    // The situation is written; the simulator's ini stays as it was.
    QVERIFY(QFileInfo::exists(j.fx.sim.path(QStringLiteral("Saved Simulations/PARIS CHARLES DE GAULLE.SIT"))));
    QCOMPARE(readAll(ini), iniBefore);

    // "Nouveau": confirmed, the plan, the grid and the route are gone.
    j.fx.prompt.answers = {CPrompt::Ok};
    const int newBox = j.fx.prompt.records.size();
    j.fx.scripts.clear();
    QTest::mouseClick(ui->btnNewFlightPlan, Qt::LeftButton);
    shown = j.boxes(newBox);
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].icon, CPrompt::Warning);
    QCOMPARE(shown[0].title, QStringLiteral("Nouveau plan de vol"));
    QCOMPARE(shown[0].text, QStringLiteral("Voulez vous effacer le plan de vol en cours ?"));
    QCOMPARE(ui->fltplnGrid->rowCount(), 0);
    QVERIFY(!ui->btnSaveFlightPlan->isEnabled());
    QVERIFY(j.fx.scripts.contains(QStringLiteral("clearFP();")));
    QTRY_COMPARE_WITH_TIMEOUT(j.js(QStringLiteral("__navDebug.flightPlan().length")).toInt(), 0, PageTimeout);

    // Load: the chooser opens in the simulator's flight-plan folder.
    j.fx.prompt.answers = {saved};
    const int loadBox = j.fx.prompt.records.size();
    QTest::mouseClick(ui->btnLoadFlightPlan, Qt::LeftButton);
    QCOMPARE(j.fx.prompt.records.size(), loadBox + 1);
    const ScriptedPrompt::Record chooser = j.fx.prompt.records.last();
    QCOMPARE(chooser.kind, QStringLiteral("openFile"));
    QCOMPARE(chooser.title, QStringLiteral("Ouvrir un plan de vol existant"));
    QCOMPARE(QDir::cleanPath(QDir::fromNativeSeparators(chooser.dir)), QDir::cleanPath(j.fx.sim.path("Flightplan")));
    QCOMPARE(chooser.filter, QStringLiteral("Fichier plan de vol (*.fpl)"));

    // The grid shows the same plan; a loaded navaid has no frequency (the
    // file does not carry it).
    const QList<QStringList> after = j.gridRows();
    QCOMPARE(after.size(), before.size());
    for (int r = 0; r < after.size(); ++r) {
        for (int c = 0; c < after[r].size(); ++c) {
            if (r == 2 && c == 3)
                QCOMPARE(after[r][c].trimmed(), QStringLiteral("0.000"));
            else
                QCOMPARE(after[r][c], before[r][c]);
        }
    }
    QVERIFY(ui->btnSaveFlightPlan->isEnabled());
    QTRY_COMPARE_WITH_TIMEOUT(j.js(QStringLiteral("__navDebug.flightPlanLabels()")).toStringList(),
                              (QStringList{"Paris Charles De Gaulle", "WP001", "LIMOGES VOR-DME", "Toulouse Blagnac"}),
                              PageTimeout);

    // Saved again, the file carries the next version and the same points.
    j.fx.prompt.answers = {CPrompt::Ok, CPrompt::Cancel};
    ui->menuSaveFlightPlan->trigger();
    COMPARE_FILE(readAll(saved), expectedFpl(points, 2, ceiling));
    QCOMPARE(readAll(ini), iniBefore);
}

// --- (c) a SID made from the plan --------------------------------------------

void TestJourneys::sidFromPlanListedDrawnDeleted()
{
    Journey j;
    QVERIFY(j.fx.prepareDemo());
    QVERIFY(j.start());
    QVERIFY(j.waitForMap());
    Ui::MainWindow *ui = j.ui();
    buildPlan(j);
    if (QTest::currentTestFailed())
        return;

    const int before = tableRows(j.db("ROUTE.db"), QStringLiteral("SIDSTAR"), QStringLiteral("skey")).size();
    const int firstBox = j.fx.prompt.records.size();
    j.fx.prompt.answers = {QStringLiteral("JRNY1A"), CPrompt::Ok};
    QTest::mouseClick(ui->btnCreateSID, Qt::LeftButton);
    QCOMPARE(j.fx.prompt.records.size(), firstBox + 2);
    const ScriptedPrompt::Record asked = j.fx.prompt.records.at(firstBox);
    QCOMPARE(asked.kind, QStringLiteral("text"));
    QCOMPARE(asked.title, QStringLiteral("Nouveau SID"));
    QCOMPARE(asked.text, QStringLiteral("Nom du SID"));
    const ScriptedPrompt::Record done = j.fx.prompt.records.at(firstBox + 1);
    QCOMPARE(done.icon, CPrompt::Information);
    QCOMPARE(done.title, QStringLiteral("Enregistrement SID"));
    QCOMPARE(done.text, QStringLiteral("Le SID JRNY1A a été enregistré"));

    // Stored: one row per point of the plan, the airport's key as sapt.
    const QList<FplPoint> points = planPoints(j);
    const QStringList rows = tableRows(j.db("ROUTE.db"), QStringLiteral("SIDSTAR WHERE strm = 'JRNY1A'"),
                                       QStringLiteral("sqnm"));
    QCOMPARE(rows.size(), 4);
    const QStringList types{"0", "4096", "17", "0"};
    for (int i = 0; i < 4; ++i) {
        const QStringList f = rows[i].split(u'|');
        QCOMPARE(f.value(1), QStringLiteral("JRNY1A%1").arg((i + 1) * 10));
        QCOMPARE(f.value(2), QStringLiteral("LFPG"));
        QCOMPARE(f.value(4), QString::number((i + 1) * 10));
        QCOMPARE(f.value(5), QStringLiteral("2"));
        QCOMPARE(f.value(6), points[i].ident);
        QCOMPARE(f.value(7), types[i]);
    }
    QCOMPARE(tableRows(j.db("ROUTE.db"), QStringLiteral("SIDSTAR"), QStringLiteral("skey")).size(), before + 4);

    // Listed under LFPG with its points.
    QCOMPARE(ui->dockWSid->windowTitle(), QStringLiteral("SID : LFPG"));
    QTreeWidgetItem *sid = nullptr;
    for (int i = 0; i < ui->treeWSid->topLevelItemCount(); ++i) {
        if (ui->treeWSid->topLevelItem(i)->text(0) == QLatin1String("JRNY1A"))
            sid = ui->treeWSid->topLevelItem(i);
    }
    QVERIFY(sid);
    QCOMPARE(sid->childCount(), 4);
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(sid->child(i)->text(1), points[i].ident);
        QCOMPARE(sid->child(i)->foreground(1).color(), QColor(Qt::blue));
    }

    // Drawn when clicked in its dock.
    ui->dockWSid->raise();
    QTRY_VERIFY(ui->treeWSid->isVisible());
    sid->setExpanded(true);
    j.fx.scripts.clear();
    click(ui->treeWSid, sid->child(2));
    QStringList draw;
    for (const FplPoint &p : points) {
        const double lon = p.lon > 648000 ? p.lon - 1296000 : p.lon;
        draw << QStringLiteral("addPointToSS(new google.maps.LatLng(%1,%2),\"%3\")")
                        .arg(fixed(p.lat / 3600, 5), fixed(lon / 3600, 5), p.ident);
    }
    QCOMPARE(j.fx.scripts.value(j.fx.scripts.size() - 2), QStringLiteral("clearSS()"));
    QCOMPARE(j.fx.scripts.last(), draw.join(u';'));
    QTRY_COMPARE_WITH_TIMEOUT(j.js(QStringLiteral("__navDebug.procedureLabels()")).toStringList(),
                              (QStringList{"LFPG", "WP001", "LMG", "LFBO"}), PageTimeout);

    // Deleted after the question, from the tree, the database and the map.
    click(ui->treeWSid, sid);
    QCOMPARE(ui->treeWSid->selectedItems(), QList<QTreeWidgetItem *>{sid});
    const int deleteBox = j.fx.prompt.records.size();
    j.fx.prompt.answers = {CPrompt::Ok, CPrompt::Ok};
    QTest::mouseClick(ui->pbDelSID, Qt::LeftButton);
    const QList<ScriptedPrompt::Record> shown = j.boxes(deleteBox);
    QCOMPARE(shown.size(), 2);
    QCOMPARE(shown[0].icon, CPrompt::Warning);
    QCOMPARE(shown[0].title, QStringLiteral("Effacer un SID"));
    QCOMPARE(shown[0].text, QStringLiteral("Voulez vous effacer le SID JRNY1A ?"));
    QCOMPARE(shown[0].buttons, (QStringList{CPrompt::Ok, CPrompt::Cancel}));
    QCOMPARE(shown[1].icon, CPrompt::Information);
    QCOMPARE(shown[1].title, QStringLiteral("Effacement SID"));
    QCOMPARE(shown[1].text, QStringLiteral("Le SID JRNY1A a été effacé"));
    QVERIFY(tableRows(j.db("ROUTE.db"), QStringLiteral("SIDSTAR WHERE strm = 'JRNY1A'"), QStringLiteral("sqnm")).isEmpty());
    QCOMPARE(tableRows(j.db("ROUTE.db"), QStringLiteral("SIDSTAR"), QStringLiteral("skey")).size(), before);
    for (int i = 0; i < ui->treeWSid->topLevelItemCount(); ++i)
        QVERIFY(ui->treeWSid->topLevelItem(i)->text(0) != QLatin1String("JRNY1A"));
    QCOMPARE(j.fx.scripts.last(), QStringLiteral("clearSS()"));
    QTRY_COMPARE_WITH_TIMEOUT(j.js(QStringLiteral("__navDebug.procedure().length")).toInt(), 0, PageTimeout);
}

// --- (d) navaids and waypoints edited, carried over by update files ----------

void TestJourneys::editsCarriedToAnotherInstallation_data()
{
    QTest::addColumn<bool>("navaid");
    QTest::newRow("navaid") << true;
    QTest::newRow("waypoint") << false;
}

void TestJourneys::editsCarriedToAnotherInstallation()
{
    QFETCH(bool, navaid);
    const QString table = navaid ? QStringLiteral("NAV") : QStringLiteral("WPT");
    const QString dbFile = navaid ? QStringLiteral("GEN.db") : QStringLiteral("WPT.db");
    const QString name = navaid ? QStringLiteral("JOURNEY VOR") : QStringLiteral("JOURNY");
    const QString key = navaid ? QStringLiteral("FR1JNY1") : QStringLiteral("JOURNFR");
    const QString title = name + u'-' + key;
    const QString list = navaid ? QStringLiteral("listVOR") : QStringLiteral("listWptRte");
    const QString boxTitle = navaid ? QStringLiteral("Nouveau NAVAID") : QStringLiteral("Nouveau WAYPOINT");
    const QString dbText = navaid ? QStringLiteral("%1 a été modifié/ajouté à la base GEN.db")
                                  : QStringLiteral("%1 a été modifié/ajouté à la base WPT.db");

    QTemporaryDir staging;
    QVERIFY(staging.isValid());
    QStringList updateFiles;
    QList<QStringList> snapshots;

    {
        Journey j;
        QVERIFY(j.fx.prepareDemo());
        QVERIFY(j.start());
        QVERIFY(j.waitForMap());
        // The update files go to the Data folder beside the program.
        UpdateFile::setProgramDir(j.fx.programDir());
        const QString dataFile = j.fx.programDir() + QStringLiteral("/Data/") + name + QStringLiteral(".CSV");
        const QStringList original = tableRows(j.db(dbFile), table, QStringLiteral("ukey"));

        int dialogs = 0;
        std::function<void(QDialog *)> fill;
        j.fx.prompt.dialogHandler = [&](QObject *o) -> int {
            auto *d = qobject_cast<QDialog *>(o);
            if (!d || !fill)
                return QDialog::Rejected;
            ++dialogs;
            fill(d);
            return d->result();
        };
        // Keeps the update file the last step wrote and the table it left.
        auto keep = [&](int step) {
            const QString copy = staging.filePath(QStringLiteral("%1.CSV").arg(step));
            QFile::remove(copy);
            QVERIFY(QFile::copy(dataFile, copy));
            updateFiles << copy;
            snapshots << tableRows(j.db(dbFile), table, QStringLiteral("ukey"));
        };

        // 1. Created on a bare point of the map, with its update file.
        QVERIFY(j.look(45.0, -4.5, 10));
        const QStringList mapMenu = j.rightClick(45.0, -4.5);
        QCOMPARE(mapMenu, (QStringList{"Nouveau point de report", "Créer un navaid ici", "Créer un waypoint ici",
                                       "Position de départ ici"}));
        fill = [&](QDialog *d) {
            if (navaid) {
                QVERIFY(qobject_cast<CDialogNav *>(d));
                QCOMPARE(d->windowTitle(), QStringLiteral("NAVAID"));
                auto *country = child<QComboBox>(d, "cbCtry");
                country->setCurrentIndex(country->findText(QStringLiteral("FR")));
                QTest::keyClicks(child<QLineEdit>(d, "leIden"), QStringLiteral("jny"));
                QCOMPARE(child<QLineEdit>(d, "leUkey")->text(), key);
                child<QLineEdit>(d, "leName")->setText(name);
                child<QDoubleSpinBox>(d, "sbFreq")->setValue(112.3);
            } else {
                QVERIFY(qobject_cast<CDialogWpt *>(d));
                QCOMPARE(d->windowTitle(), QStringLiteral("WAYPOINT"));
                auto *country = child<QComboBox>(d, "cbCtry");
                country->setCurrentIndex(country->findText(QStringLiteral("FR")));
                QTest::keyClicks(child<QLineEdit>(d, "leName"), QStringLiteral("journy"));
                QCOMPARE(child<QLineEdit>(d, "leName")->text(), name);
                QCOMPARE(child<QLineEdit>(d, "leIden")->text(), QStringLiteral("JOUR"));
                QCOMPARE(child<QLineEdit>(d, "leUkey")->text(), key);
                child<QRadioButton>(d, "rbNamed")->setChecked(true);
                child<QRadioButton>(d, "rbLow")->setChecked(true);
            }
            child<QCheckBox>(d, "cbSaveCSV")->setChecked(true);
            QTest::mouseClick(child<QPushButton>(d, "pbOK"), Qt::LeftButton);
        };
        int from = j.fx.prompt.records.size();
        j.fx.prompt.answers = {CPrompt::Ok, CPrompt::Ok};
        QVERIFY(j.choose(navaid ? QStringLiteral("Créer un navaid ici") : QStringLiteral("Créer un waypoint ici")));
        QTRY_COMPARE_WITH_TIMEOUT(dialogs, 1, PageTimeout);
        QList<ScriptedPrompt::Record> shown = j.boxes(from);
        QCOMPARE(shown.size(), 2);
        QCOMPARE(shown[0].title, boxTitle);
        QCOMPARE(shown[0].text, dbText.arg(name));
        QCOMPARE(shown[1].title, boxTitle + QStringLiteral(": export"));
        QCOMPARE(shown[1].text, QStringLiteral("Le fichier d'export pour %1\na été enregistré dans %2").arg(name, dataFile));
        QVERIFY(readAll(dataFile).startsWith((navaid ? "GEN;NAV;+;" : "WPT;WPT;+;")));
        QVERIFY(!readAll(dataFile).endsWith('\n'));
        keep(1);
        QCOMPARE(snapshots[0].size(), original.size() + 1);
        // Its marker is on the map, named for the editing commands.
        QTRY_VERIFY_WITH_TIMEOUT(!j.js(QStringLiteral("__navDebug.symbolOf('%1', '%2')").arg(list, title))
                                          .toString().isEmpty(), PageTimeout);

        // 2. Modified from its marker's menu.
        const double lat = firstRow(j.db(dbFile), QStringLiteral("SELECT * FROM %1 WHERE ukey = ?").arg(table), key)
                                   .value(navaid ? "nlat" : "wlat").toDouble() / 3600;
        const double lonSeconds = firstRow(j.db(dbFile), QStringLiteral("SELECT * FROM %1 WHERE ukey = ?").arg(table), key)
                                          .value(navaid ? "nlon" : "wlon").toDouble();
        const double lon = (lonSeconds > 648000 ? lonSeconds - 1296000 : lonSeconds) / 3600;
        QVERIFY(std::abs(lat - 45.0) < 0.01 && std::abs(lon + 4.5) < 0.01);
        QCOMPARE(j.rightClick(lat, lon), (QStringList{"Ajouter au plan de vol", "Modifier", "Supprimer"}));
        fill = [&](QDialog *d) {
            QCOMPARE(child<QLineEdit>(d, "leUkey")->text(), key);
            QCOMPARE(child<QLineEdit>(d, "leName")->text(), name);
            if (navaid) {
                child<QDoubleSpinBox>(d, "sbFreq")->setValue(113.1);
                child<QRadioButton>(d, "rbHigh")->setChecked(true);
            } else {
                QVERIFY(child<QRadioButton>(d, "rbNamed")->isChecked());
                child<QRadioButton>(d, "rbBoth")->setChecked(true);
            }
            child<QCheckBox>(d, "cbSaveCSV")->setChecked(true);
            QTest::mouseClick(child<QPushButton>(d, "pbOK"), Qt::LeftButton);
        };
        from = j.fx.prompt.records.size();
        j.fx.prompt.answers = {CPrompt::Ok, CPrompt::Ok};
        QVERIFY(j.choose(QStringLiteral("Modifier")));
        QTRY_COMPARE_WITH_TIMEOUT(dialogs, 2, PageTimeout);
        shown = j.boxes(from);
        QCOMPARE(shown.size(), 2);
        QCOMPARE(shown[0].text, dbText.arg(name));
        keep(2);
        QCOMPARE(snapshots[1].size(), snapshots[0].size());
        QVERIFY(snapshots[1] != snapshots[0]);

        // 3. Deleted from its marker's menu, the deletion exported.
        QCOMPARE(j.rightClick(lat, lon), (QStringList{"Ajouter au plan de vol", "Modifier", "Supprimer"}));
        from = j.fx.prompt.records.size();
        j.fx.prompt.answers = {QStringLiteral("Effacer\n& Exporter"), CPrompt::Ok};
        j.fx.scripts.clear();
        QVERIFY(j.choose(QStringLiteral("Supprimer")));
        QTRY_COMPARE_WITH_TIMEOUT(j.boxes(from).size(), 2, PageTimeout);
        shown = j.boxes(from);
        const QString kind = navaid ? QStringLiteral("navaid") : QStringLiteral("waypoint");
        QCOMPARE(shown[0].icon, CPrompt::Question);
        QCOMPARE(shown[0].text, QStringLiteral("Suppression d'un %1").arg(kind));
        QCOMPARE(shown[0].informativeText, QStringLiteral("Voulez vous effacer définitivement %1 ?").arg(title));
        QCOMPARE(shown[0].buttons, (QStringList{"Effacer", "Effacer\n& Exporter", "Annuler"}));
        QCOMPARE(shown[0].defaultButton, QStringLiteral("Effacer\n& Exporter"));
        QCOMPARE(shown[1].text, QStringLiteral("Le %1 %2 a été effacé et enregistrer pour export \ndans %3")
                                        .arg(kind, name, dataFile));
        QCOMPARE(j.fx.scripts, QStringList{navaid ? QStringLiteral("delNavaid();theLast == null;")
                                                  : QStringLiteral("delWaypoint();theLast == null;")});
        QCOMPARE(readAll(dataFile), (navaid ? "GEN;NAV;-;ukey;" : "WPT;WPT;-;ukey;") + key.toLatin1());
        keep(3);
        QCOMPARE(snapshots[2], original);
        QTRY_VERIFY_WITH_TIMEOUT(j.js(QStringLiteral("__navDebug.symbolOf('%1', '%2')").arg(list, title))
                                         .toString().isEmpty(), PageTimeout);
        QVERIFY(j.w->close());
    }
    if (QTest::currentTestFailed())
        return;

    // Another installation imports the three files one by one and reaches
    // the same table at every step.
    Journey other;
    QVERIFY(other.fx.prepareDemo());
    other.w = other.fx.start(false);
    QVERIFY(other.w);
    for (int step = 0; step < updateFiles.size(); ++step) {
        const int from = other.fx.prompt.records.size();
        other.fx.prompt.answers = {updateFiles[step], CPrompt::Ok};
        other.ui()->actImport->trigger();
        QCOMPARE(other.fx.prompt.records.size(), from + 2);
        const ScriptedPrompt::Record chooser = other.fx.prompt.records.at(from);
        QCOMPARE(chooser.kind, QStringLiteral("openFiles"));
        QCOMPARE(chooser.title, QStringLiteral("Ouvrir un fichier d'import"));
        QCOMPARE(chooser.filter, QStringLiteral("Fichier Corvane Export (*.CSV);;Tous (*.*)"));
        const ScriptedPrompt::Record report = other.fx.prompt.records.at(from + 1);
        QCOMPARE(report.title, QStringLiteral("Importation"));
        QCOMPARE(report.text, QStringLiteral("Importation terminée\n %1").arg(updateFiles[step]));
        QCOMPARE(tableRows(other.db(dbFile), table, QStringLiteral("ukey")), snapshots[step]);
    }
}

// --- (d') a navaid changed in the editor, GEN.db restored from the menu --------

void TestJourneys::navaidRestoredFromTheMenu()
{
    Journey j;
    QVERIFY(j.fx.prepareDemo());
    QVERIFY(j.start());
    QVERIFY(j.waitForMap());
    const QString gen = j.db(QStringLiteral("GEN.db"));
    const QStringList original = tableRows(gen, QStringLiteral("NAV"), QStringLiteral("ukey"));
    const int vors = j.js(QStringLiteral("__navDebug.listSize('listVOR')")).toInt();
    const QVariantMap pgs = firstRow(gen, QStringLiteral("SELECT * FROM NAV WHERE ukey = ?"), QStringLiteral("FR4PGS1"));
    const double lat = pgs.value("nlat").toDouble() / 3600;
    const double lon = pgs.value("nlon").toDouble() / 3600;
    auto infoAt = [&] { return j.js(QStringLiteral("__navDebug.clickAt(%1, %2)").arg(lat, 0, 'f', 6).arg(lon, 0, 'f', 6)).toString(); };
    auto vor = [&](const QString &title) {
        return j.js(QStringLiteral("__navDebug.symbolOf('listVOR', '%1')").arg(title)).toString();
    };

    // The user renames the Charles de Gaulle VOR-DME from its marker.
    QVERIFY(j.look(lat, lon, 12));
    QVERIFY(infoAt().contains(QLatin1String("PARIS CHARLES DE GAULLE VOR-DME")));
    QCOMPARE(j.rightClick(lat, lon), (QStringList{"Ajouter au plan de vol", "Modifier", "Supprimer"}));
    j.fx.prompt.dialogHandler = [](QObject *o) -> int {
        auto *d = qobject_cast<QDialog *>(o);
        if (!d)
            return QDialog::Rejected;
        child<QLineEdit>(d, "leName")->setText(QStringLiteral("RENAMED VOR"));
        child<QCheckBox>(d, "cbSaveCSV")->setChecked(false);
        QTest::mouseClick(child<QPushButton>(d, "pbOK"), Qt::LeftButton);
        return d->result();
    };
    j.fx.prompt.answers = {CPrompt::Ok};
    QVERIFY(j.choose(QStringLiteral("Modifier")));
    QTRY_VERIFY_WITH_TIMEOUT(!vor(QStringLiteral("RENAMED VOR-FR4PGS1")).isEmpty(), PageTimeout);
    QVERIFY(vor(QStringLiteral("PGS-FR4PGS1")).isEmpty());
    const QStringList edited = tableRows(gen, QStringLiteral("NAV"), QStringLiteral("ukey"));
    QVERIFY(edited != original);
    const QString copy = gen + QStringLiteral(".bak1");

    // The dialog lists the copy of GEN.db; the test chooses it as the user does.
    QStringList listed;
    j.fx.prompt.dialogHandler = [&](QObject *o) -> int {
        auto *d = qobject_cast<QDialog *>(o);
        if (!d)
            return QDialog::Rejected;
        auto *tree = child<QTreeWidget>(d, "treeCopies");
        QTreeWidgetItem *chosen = nullptr;
        for (QTreeWidgetItemIterator it(tree); *it; ++it) {
            QStringList cells;
            for (int c = 0; c < tree->columnCount(); ++c)
                cells << (*it)->text(c);
            listed << cells.join(u'|');
            if ((*it)->text(0) == QLatin1String("Copie 1"))
                chosen = *it;
        }
        // On screen, as the user sees it, to be clicked.
        d->show();
        if (!chosen || !QTest::qWaitForWindowExposed(d))
            return QDialog::Rejected;
        click(tree, chosen);
        QTest::mouseClick(child<QPushButton>(d, "pbRestore"), Qt::LeftButton);
        return d->result();
    };
    const QStringList expectedList{
            QStringLiteral("GEN.db||"),
            QStringLiteral("Copie 1|%1|Lignes différentes : 2")
                    .arg(QFileInfo(copy).lastModified().toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"))),
            QStringLiteral("NAV||2 (1 dans la copie seulement, 1 dans le fichier actuel seulement)")};

    // The menu entry, the copy chosen in the dialog: the boxes that follow.
    auto restoreFromMenu = [&] {
        const int from = j.fx.prompt.records.size();
        listed.clear();
        j.ui()->actRestore->trigger();
        return j.boxes(from);
    };

    // While the simulator holds GEN.db, the restore says so and changes nothing.
    {
        QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("journeys-simulator")).setDatabaseName(gen);
        QSqlDatabase simulator = QSqlDatabase::database(QStringLiteral("journeys-simulator"));
        QVERIFY(QSqlQuery(simulator).exec(QStringLiteral("BEGIN IMMEDIATE")));
        const QList<ScriptedPrompt::Record> shown = restoreFromMenu();
        QCOMPARE(listed, expectedList);
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].icon, CPrompt::Warning);
        QCOMPARE(shown[0].title, QStringLiteral("Restauration"));
        QCOMPARE(shown[0].text, QStringLiteral("Le simulateur utilise GEN.db : la base de données est verrouillée.\n"
                                               "Rien n'a été changé. Fermez le simulateur puis recommencez."));
        QVERIFY(simulator.rollback());
        simulator.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("journeys-simulator"));
    QCOMPARE(tableRows(gen, QStringLiteral("NAV"), QStringLiteral("ukey")), edited);
    QVERIFY(!vor(QStringLiteral("RENAMED VOR-FR4PGS1")).isEmpty());

    // Restored: the row is back, and the map shows the navaid as it was.
    j.fx.scripts.clear();
    const QList<ScriptedPrompt::Record> shown = restoreFromMenu();
    QCOMPARE(listed, expectedList);
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].icon, CPrompt::Information);
    QCOMPARE(shown[0].text, QStringLiteral("GEN.db a été restauré depuis GEN.db.bak1.\nLe fichier tel qu'il était avant est "
                                           "gardé dans %1 : restaurez-le pour revenir en arrière.")
                                    .arg(QDir::toNativeSeparators(gen + QStringLiteral(".before-restore"))));
    QCOMPARE(tableRows(gen, QStringLiteral("NAV"), QStringLiteral("ukey")), original);
    QCOMPARE(tableRows(gen + QStringLiteral(".before-restore"), QStringLiteral("NAV"), QStringLiteral("ukey")), edited);
    QCOMPARE(j.fx.scripts.first(), QStringLiteral("clearNavData();"));
    QTRY_VERIFY_WITH_TIMEOUT(!vor(QStringLiteral("PGS-FR4PGS1")).isEmpty(), PageTimeout);
    QVERIFY(vor(QStringLiteral("RENAMED VOR-FR4PGS1")).isEmpty());
    QCOMPARE(j.js(QStringLiteral("__navDebug.listSize('listVOR')")).toInt(), vors);
    QCOMPARE(j.js(QStringLiteral("__navDebug.listSize('listApt')")).toInt(), 859);
    const QString info = infoAt();
    QVERIFY2(info.contains(QLatin1String("PARIS CHARLES DE GAULLE VOR-DME")) && !info.contains(QLatin1String("RENAMED")),
             qPrintable(info));
}

// --- (e) the aircraft traced along the saved plan ---------------------------

void TestJourneys::traceFollowsTheSavedPlan()
{
    Journey j;
    QVERIFY(j.fx.prepareDemo());
    // A tick every 50 ms is plenty to see the aircraft move.
    j.fx.writeSettings(QStringLiteral("[directory]\ndirWork=%1\n[trace]\nintervale=50\n")
                               .arg(j.fx.sim.path(QStringLiteral("Work")))
                               .toUtf8());
    QVERIFY(j.start());
    QVERIFY(j.waitForMap());
    Ui::MainWindow *ui = j.ui();
    buildPlan(j);
    if (QTest::currentTestFailed())
        return;
    j.fx.prompt.answers = {CPrompt::Ok, CPrompt::Cancel};
    ui->menuSaveFlightPlan->trigger();
    const QString saved = j.fx.sim.path(QStringLiteral("Flightplan/LFPG_LFBO.FPL"));
    QVERIFY(QFileInfo::exists(saved));

    // The stand-in simulator flies the saved plan in its own block.
    const QString block = QStringLiteral("journeys-%1-%2")
                                  .arg(QCoreApplication::applicationPid())
                                  .arg(QRandomGenerator::global()->generate());
    CNavPlug::setDefaultBlockName(block);
    QProcess navsim;
    navsim.setProcessChannelMode(QProcess::MergedChannels);
    navsim.start(QDir(binDir()).filePath(QStringLiteral("navsim")),
                 {"--name", block, "--fpl", saved, "--speed", "2000", "--seconds", "5", "--unlink"});
    QVERIFY2(navsim.waitForStarted(30000), qPrintable(navsim.errorString()));
    QByteArray said;
    QTRY_VERIFY_WITH_TIMEOUT((said += navsim.readAll()).contains("navsim: writing to")
                                     || navsim.state() == QProcess::NotRunning,
                             PageTimeout);
    QVERIFY2(navsim.state() == QProcess::Running, said.constData());
    // It says so just before its first write; let that write land.
    QTest::qWait(500);

    j.fx.scripts.clear();
    QTest::mouseClick(ui->pbTraceAcft, Qt::LeftButton);
    QVERIFY(ui->pbTraceAcft->isChecked());
    QVERIFY(j.boxes().size() == 2);   // only the two of the save: the link is up
    const QList<MarkerFix> added = aircraftFixes(j.fx.scripts, QStringLiteral("addAcftMrkr"));
    QCOMPARE(added.size(), 1);

    const QList<FplPoint> plan = planPoints(j);
    const LatLon from{plan[0].lat / 3600, plan[0].lon / 3600};
    const LatLon to{plan[1].lat / 3600, plan[1].lon / 3600};
    const double legCourse = courseDeg(from, to);
    const double flownAtEnd = 2000.0 * 5 / 3600;   // 5 s at 2000 kt from LFPG

    // It keeps moving until the simulator stops, and the page gets where
    // it stopped. (The event loop keeps running meanwhile: the window ticks.)
    QTRY_VERIFY_WITH_TIMEOUT(navsim.state() == QProcess::NotRunning, 60000);
    QCOMPARE(navsim.exitStatus(), QProcess::NormalExit);
    QCOMPARE(navsim.exitCode(), 0);
    const auto lastFix = [&j] {
        const QList<MarkerFix> ticks = aircraftFixes(j.fx.scripts, QStringLiteral("setAcftMrkr"));
        return ticks.isEmpty() ? MarkerFix{} : ticks.last();
    };
    QTRY_VERIFY_WITH_TIMEOUT(std::abs(distanceNm(from, lastFix().pos) - flownAtEnd) < 0.05, 30000);

    // Centred on the aircraft while "Centre avion" is checked: the map
    // stays drawn, and the aircraft standing still is not sent again.
    QTest::mouseClick(ui->pbCenterAcft, Qt::LeftButton);
    QVERIFY(ui->pbCenterAcft->isChecked());
    QTRY_VERIFY_WITH_TIMEOUT(j.fx.scripts.last().contains(QStringLiteral(";;map.setCenter(new google.maps.LatLng(")),
                             30000);
    const MarkerFix stopped = lastFix();
    QTRY_VERIFY_WITH_TIMEOUT(std::abs(j.js(QStringLiteral("map.getCenter().lat()")).toDouble() - stopped.pos.lat) < 1e-6,
                             PageTimeout);
    QVERIFY(std::abs(j.js(QStringLiteral("map.getCenter().lng()")).toDouble() - stopped.pos.lon) < 1e-6);
    QTRY_COMPARE_WITH_TIMEOUT(j.js(QStringLiteral("__navDebug.tilesMissing()")).toInt(), 0, PageTimeout);
    QCOMPARE(j.fx.scripts.filter(QStringLiteral(";;map.setCenter(")).size(), 1);
    QTest::mouseClick(ui->pbCenterAcft, Qt::LeftButton);
    QVERIFY(!ui->pbCenterAcft->isChecked());

    QList<MarkerFix> fixes = added + aircraftFixes(j.fx.scripts, QStringLiteral("setAcftMrkr"));
    QVERIFY(fixes.size() > 5);
    // Along the first leg, from the departure on, never backwards, heading
    // the leg's course; where it stopped.
    double along = -1;
    QSet<QString> distinct;
    for (const MarkerFix &fix : std::as_const(fixes)) {
        const double flown = distanceNm(from, fix.pos);
        QVERIFY2(flown >= along - 0.01, qPrintable(QStringLiteral("moved back: %1 after %2 nm").arg(flown).arg(along)));
        along = std::max(along, flown);
        QVERIFY2(std::abs(crossTrackNm(from, to, fix.pos)) < 0.05,
                 qPrintable(QStringLiteral("off the route at %1 %2").arg(fix.pos.lat).arg(fix.pos.lon)));
        QVERIFY2(angleDiff(fix.value, legCourse) < 1.0,
                 qPrintable(QStringLiteral("heading %1, course %2").arg(fix.value).arg(legCourse)));
        distinct.insert(QStringLiteral("%1,%2").arg(fix.pos.lat, 0, 'f', 5).arg(fix.pos.lon, 0, 'f', 5));
    }
    QVERIFY2(distinct.size() >= 3, "the aircraft did not move");
    QVERIFY(std::abs(along - flownAtEnd) < 0.05);

    // The page shows the aircraft where the program last put it.
    const MarkerFix last = fixes.last();
    const QVariantMap shown = j.js(QStringLiteral("__navDebug.aircraft()")).toMap();
    QVERIFY(std::abs(shown.value("lat").toDouble() - last.pos.lat) < 1e-4);
    QVERIFY(std::abs(shown.value("lng").toDouble() - last.pos.lon) < 1e-4);

    // Trace off: the marker goes.
    QTest::mouseClick(ui->pbTraceAcft, Qt::LeftButton);
    QVERIFY(!ui->pbTraceAcft->isChecked());
    QCOMPARE(j.fx.scripts.last(), QStringLiteral("eraseAcftMrkr();"));
    const int afterOff = j.fx.scripts.size();
    QTRY_VERIFY_WITH_TIMEOUT(j.js(QStringLiteral("__navDebug.aircraft()")).isNull(), PageTimeout);
    QTest::qWait(200);
    QCOMPARE(j.fx.scripts.size(), afterOff);
}

// --- (f) files dropped on the map ------------------------------------------------

void TestJourneys::planFileDroppedOnTheMap()
{
    Journey j;
    QVERIFY(j.fx.prepareDemo());
    QVERIFY(j.start());
    QVERIFY(j.waitForMap());
    const QUrl pageUrl = j.w->page()->url();
    QSignalSpy loads(j.w->page(), &QWebEnginePage::loadStarted);
    const QPoint onMap = j.ui()->map->mapTo(j.w, j.ui()->map->rect().center());

    // A page of someone else's, dropped on the map: nothing takes it.
    QTemporaryDir elsewhere;
    QVERIFY(elsewhere.isValid());
    const QString foreign = elsewhere.filePath(QStringLiteral("foreign.html"));
    {
        QFile html(foreign);
        QVERIFY(html.open(QIODevice::WriteOnly));
        html.write("<html><body><script>mainWindow.doData('foreign page');"
                   "mainWindow.sFpLineDel();</script></body></html>");
    }
    QVERIFY(!dropFiles(j.w, onMap, {foreign}));

    // A flight-plan file of the simulator's folder loads as "Charger" would.
    const QList<FplPoint> points = planPoints(j);
    const QString planFile = j.fx.sim.path(QStringLiteral("Flightplan/LFPG_LFBO.FPL"));
    {
        QFile fpl(planFile);
        QVERIFY(fpl.open(QIODevice::WriteOnly));
        fpl.write(expectedFpl(points, 3, 0));
    }
    QVERIFY(dropFiles(j.w, onMap, {foreign, planFile}));
    const QStringList idents{"LFPG", "WP001", "LMG", "LFBO"};
    QTRY_COMPARE_WITH_TIMEOUT(j.gridColumn(1), idents, PageTimeout);
    QVERIFY(j.boxes().isEmpty());   // no plan before: nothing to ask
    QTRY_COMPARE_WITH_TIMEOUT(j.js(QStringLiteral("__navDebug.flightPlan().length")).toInt(), 4, PageTimeout);

    // The page is still the map, and the dropped page reached no slot.
    QCOMPARE(j.w->page()->url(), pageUrl);
    QCOMPARE(loads.size(), 0);
    QCOMPARE(j.js(QStringLiteral("__navDebug.listSize('listApt')")).toInt(), 859);
    for (QLabel *label : j.w->statusBar()->findChildren<QLabel *>())
        QVERIFY(label->text() != QLatin1String("foreign page"));

    // With a plan in the grid, the same question as "Charger"; cancelled,
    // the plan stays.
    j.fx.prompt.answers = {CPrompt::Cancel};
    QVERIFY(dropFiles(j.w, onMap, {planFile}));
    QTRY_COMPARE_WITH_TIMEOUT(j.boxes().size(), 1, PageTimeout);
    const ScriptedPrompt::Record asked = j.boxes().first();
    QCOMPARE(asked.icon, CPrompt::Warning);
    QCOMPARE(asked.title, QStringLiteral("Nouveau plan de vol"));
    QCOMPARE(asked.text, QStringLiteral("Voulez vous effacer le plan de vol en cours ?"));
    QCOMPARE(asked.buttons, (QStringList{CPrompt::Ok, CPrompt::Cancel}));
    QCOMPARE(j.gridColumn(1), idents);
}

// --- (g) the same start in English ---------------------------------------------

void TestJourneys::englishStart()
{
    const QString system = QLocale::system().name();
    if (NavStartup::isFrench(system))
        QSKIP("the system language is French here; ctest runs this journey as tst_journeys_english, "
              "under an English locale");

    // As main does: the English translation, from beside the program.
    QLocale::setDefault(QLocale(QStringLiteral("en_US")));
    m_translator = std::make_unique<QTranslator>();
    QVERIFY(NavStartup::chooseLanguage(*qApp, *m_translator, system, binDir()));
    QVERIFY2(!m_translator->isEmpty(), "the English translation was not loaded");

    Journey j;
    QVERIFY(j.fx.prepareDemo());
    QVERIFY(j.start());
    QVERIFY(j.waitForMap());
    QCOMPARE(QFileInfo(j.w->page()->url().toLocalFile()).fileName(), QStringLiteral("gm_navigator_en.html"));
    QCOMPARE(j.js(QStringLiteral("__navDebug.lang")).toString(), QStringLiteral("en"));
    QVERIFY(j.fx.prompt.records.isEmpty());

    // The main commands read in English.
    Ui::MainWindow *ui = j.ui();
    QVERIFY(ui->btnNewFlightPlan->text() != QLatin1String("Nouveau"));
    QVERIFY(ui->dockWSearch->windowTitle() != QLatin1String("Recherche"));
    QVERIFY(ui->menuPlan_de_vol->title() != QLatin1String("Plan de vol"));

    // Nothing the window shows is still French.
    const QSet<QString> french = translatedSources();
    QVERIFY2(!french.isEmpty(), "no translated texts found in the translation source");
    QStringList stillFrench;
    for (const ShownText &shown : shownTexts(j.w)) {
        if (french.contains(shown.text) || looksFrench(shown.text))
            stillFrench << QStringLiteral("%1: %2").arg(shown.where, shown.text);
    }
    stillFrench.removeDuplicates();
    for (const QString &text : std::as_const(stillFrench))
        qWarning().noquote() << "still French:" << text;
    QVERIFY2(stillFrench.isEmpty(),
             qPrintable(QStringLiteral("%1 texts are still French (listed above)").arg(stillFrench.size())));
}

QTEST_MAIN(TestJourneys)
#include "tst_journeys.moc"
