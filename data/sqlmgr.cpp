#include "data/sqlmgr.h"

#include "app/prompt.h"

#include <QCoreApplication>
#include <QDebug>
#include <QSqlQuery>
#include <QVariant>

#include <array>
#include <iterator>

enum class SqlMgr::Selector {
    OBJByScene, ATSROUTE, RWY, Arcs, PAVE, Node, FNM, LIGHT, OBJByDay, MOD, TEXTURE,
    SIDSTAR, COM, NAV, APT, WPT, ILS,
};

enum class SqlMgr::Deleter {
    BDRY, SIDSTAR, ATSROUTE, FNM, OBJByScene, OBJByDay, TEXTURE, MOD, LIGHT, PAVE,
    RWY, COM, ILS, WPT, NAV, APT,
};

namespace {

// How a near search matches the key in one column.
enum class Near { Prefix, Contains };

struct Step {
    const char *table;
    const char *column;
    Near near;
};

// The selectors, in the order of SqlMgr::Selector: the columns each one
// searches in turn. Keys and idents match as prefixes, names (and the COM
// and ILS keys) as contained text.
struct SelectorSteps {
    int count;
    std::array<Step, 4> steps;
};

constexpr SelectorSteps selectors[] = {
    {1, {{{"OBJ", "scn", Near::Prefix}}}},
    {1, {{{"ATSROUTE", "aaid", Near::Prefix}}}},
    {1, {{{"RWY", "rapt", Near::Prefix}}}},
    {1, {{{"Arcs", "akey", Near::Prefix}}}},
    {1, {{{"PAVE", "akey", Near::Prefix}}}},
    {1, {{{"Node", "akey", Near::Prefix}}}},
    {1, {{{"FNM", "scene", Near::Prefix}}}},
    {1, {{{"LIGHT", "akey", Near::Prefix}}}},
    {1, {{{"OBJ", "mday", Near::Prefix}}}},
    {1, {{{"MOD", "name", Near::Prefix}}}},
    {1, {{{"TEXTURE", "xname", Near::Prefix}}}},
    {2, {{{"SIDSTAR", "sapt", Near::Prefix}, {"SIDSTAR", "strm", Near::Prefix}}}},
    {3, {{{"COM", "capt", Near::Prefix}, {"COM", "cnam", Near::Prefix}, {"COM", "ckey", Near::Contains}}}},
    {3, {{{"NAV", "ukey", Near::Prefix}, {"NAV", "iden", Near::Prefix}, {"NAV", "name", Near::Contains}}}},
    {3, {{{"APT", "ukey", Near::Prefix}, {"APT", "iden", Near::Prefix}, {"APT", "name", Near::Contains}}}},
    {3, {{{"WPT", "ukey", Near::Prefix}, {"WPT", "iden", Near::Prefix}, {"WPT", "name", Near::Contains}}}},
    {4, {{{"ILS", "iapt", Near::Prefix}, {"ILS", "iils", Near::Prefix}, {"ILS", "name", Near::Contains},
          {"ILS", "ikey", Near::Contains}}}},
};

// The DELETE builders, in the order of SqlMgr::Deleter: table and key column.
struct Target {
    const char *table;
    const char *column;
};

constexpr Target deleters[] = {
    {"BDRY", "bkey"}, {"SIDSTAR", "strm"}, {"ATSROUTE", "aaid"}, {"FNM", "scene"}, {"OBJ", "scn"},
    {"OBJ", "mday"}, {"TEXTURE", "xname"}, {"MOD", "name"}, {"LIGHT", "akey"}, {"PAVE", "akey"},
    {"RWY", "rapt"}, {"COM", "capt"}, {"ILS", "iapt"}, {"WPT", "ukey"}, {"NAV", "ukey"}, {"APT", "ukey"},
};

QString escapedForLike(const QString &key)
{
    QString out;
    out.reserve(key.size() + 4);
    for (const QChar c : key) {
        if (c == u'\\' || c == u'%' || c == u'_')
            out += u'\\';
        out += c;
    }
    return out;
}

// One step: prepare, bind, run, move to the first row.
bool runStep(QSqlQuery *query, const QString &statement, const QVariant &value)
{
    if (!query->prepare(statement))
        return false;
    query->addBindValue(value);
    if (!query->exec())
        return false;
    return query->next();
}

} // namespace

SqlMgr::SqlMgr(QObject *parent)
    : QObject(parent)
{
}

SqlMgr::~SqlMgr() = default;

void SqlMgr::addDB(const QString &name, const QString &dirPath)
{
    m_current = QSqlDatabase::database(name, true);
    if (m_current.isValid())
        return;

    m_current = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    m_names << name;
    const QString path = dirPath + u'/' + name;
    m_current.setDatabaseName(path);
    // The files belong to the simulator: SQLite's safe defaults (synchronous
    // writes, journal on disk) are kept.
    if (m_current.open()) {
        qDebug() << "SqlMgr::addDB" << path << "is open";
        return;
    }
    CPrompt::Message box;
    box.icon = CPrompt::Critical;
    box.title = QCoreApplication::translate("QObject", "Ouverture de la base de données impossible.");
    box.text = QCoreApplication::translate("QObject", "Impossible d\"établir la connexion avec %1.").arg(name);
    box.buttons = QStringList{CPrompt::Ok};
    prompt().message(box);
    qDebug() << "SqlMgr::addDB db not found" << name << dirPath;
}

void SqlMgr::removeDB(const QString &name)
{
    if (m_current.connectionName() == name)
        m_current = QSqlDatabase();
    m_names.removeAll(name);
    QSqlDatabase::removeDatabase(name);
}

void SqlMgr::closeAll()
{
    m_current = QSqlDatabase();
    const QStringList names = m_names;
    m_names.clear();
    for (const QString &name : names) {
        if (QSqlDatabase::contains(name))
            QSqlDatabase::removeDatabase(name);
    }
}

QString SqlMgr::likePrefix(const QString &key)
{
    return escapedForLike(key) + u'%';
}

QString SqlMgr::likeContains(const QString &key)
{
    return u'%' + escapedForLike(key) + u'%';
}

bool SqlMgr::select(Selector which, const QVariant &key, bool exact, QSqlQuery *query)
{
    static_assert(std::size(selectors) == std::size_t(Selector::ILS) + 1);
    const SelectorSteps &selector = selectors[int(which)];
    bool found = false;
    for (int i = 0; i < selector.count && !found; ++i) {
        const Step &step = selector.steps[std::size_t(i)];
        const QString head = QStringLiteral("SELECT * FROM %1 WHERE %2")
                                     .arg(QLatin1String(step.table), QLatin1String(step.column));
        if (exact) {
            found = runStep(query, head + QStringLiteral(" = ?"), key);
        } else {
            const QString text = key.toString();
            const QString pattern = step.near == Near::Prefix ? likePrefix(text) : likeContains(text);
            found = runStep(query, head + QStringLiteral(" LIKE ?") + LikeEscape, pattern);
        }
    }
    return found;
}

bool SqlMgr::remove(Deleter which, const QString &key, QSqlQuery *query)
{
    static_assert(std::size(deleters) == std::size_t(Deleter::APT) + 1);
    const Target &target = deleters[int(which)];
    if (!query->prepare(QStringLiteral("DELETE FROM %1 WHERE %2 = ?")
                                .arg(QLatin1String(target.table), QLatin1String(target.column))))
        return false;
    query->addBindValue(key);
    return query->exec();
}

bool SqlMgr::deleteBDRY(const QString &key, QSqlQuery *query) { return remove(Deleter::BDRY, key, query); }
bool SqlMgr::deleteSIDSTAR(const QString &key, QSqlQuery *query) { return remove(Deleter::SIDSTAR, key, query); }
bool SqlMgr::deleteATSROUTE(const QString &key, QSqlQuery *query) { return remove(Deleter::ATSROUTE, key, query); }
bool SqlMgr::deleteFNM(const QString &key, QSqlQuery *query) { return remove(Deleter::FNM, key, query); }
bool SqlMgr::deleteOBJByScene(const QString &key, QSqlQuery *query) { return remove(Deleter::OBJByScene, key, query); }
bool SqlMgr::deleteOBJByDay(const QString &key, QSqlQuery *query) { return remove(Deleter::OBJByDay, key, query); }
bool SqlMgr::deleteTEXTURE(const QString &key, QSqlQuery *query) { return remove(Deleter::TEXTURE, key, query); }
bool SqlMgr::deleteMOD(const QString &key, QSqlQuery *query) { return remove(Deleter::MOD, key, query); }
bool SqlMgr::deleteLIGHT(const QString &key, QSqlQuery *query) { return remove(Deleter::LIGHT, key, query); }
bool SqlMgr::deletePAVE(const QString &key, QSqlQuery *query) { return remove(Deleter::PAVE, key, query); }
bool SqlMgr::deleteRWY(const QString &key, QSqlQuery *query) { return remove(Deleter::RWY, key, query); }
bool SqlMgr::deleteCOM(const QString &key, QSqlQuery *query) { return remove(Deleter::COM, key, query); }
bool SqlMgr::deleteILS(const QString &key, QSqlQuery *query) { return remove(Deleter::ILS, key, query); }
bool SqlMgr::deleteWPT(const QString &key, QSqlQuery *query) { return remove(Deleter::WPT, key, query); }
bool SqlMgr::deleteNAV(const QString &key, QSqlQuery *query) { return remove(Deleter::NAV, key, query); }
bool SqlMgr::deleteAPT(const QString &key, QSqlQuery *query) { return remove(Deleter::APT, key, query); }

bool SqlMgr::selectOBJByScene(int key, bool exact, QSqlQuery *query) { return select(Selector::OBJByScene, key, exact, query); }
bool SqlMgr::selectATSROUTE(const QString &key, bool exact, QSqlQuery *query) { return select(Selector::ATSROUTE, key, exact, query); }
bool SqlMgr::selectRWY(const QString &key, bool exact, QSqlQuery *query) { return select(Selector::RWY, key, exact, query); }
bool SqlMgr::selectArcs(const QString &key, bool exact, QSqlQuery *query) { return select(Selector::Arcs, key, exact, query); }
bool SqlMgr::selectPAVE(const QString &key, bool exact, QSqlQuery *query) { return select(Selector::PAVE, key, exact, query); }
bool SqlMgr::selectNode(const QString &key, bool exact, QSqlQuery *query) { return select(Selector::Node, key, exact, query); }
bool SqlMgr::selectFNM(const QString &key, bool exact, QSqlQuery *query) { return select(Selector::FNM, key, exact, query); }
bool SqlMgr::selectLIGHT(const QString &key, bool exact, QSqlQuery *query) { return select(Selector::LIGHT, key, exact, query); }
bool SqlMgr::selectOBJByDay(const QString &key, bool exact, QSqlQuery *query) { return select(Selector::OBJByDay, key, exact, query); }
bool SqlMgr::selectMOD(const QString &key, bool exact, QSqlQuery *query) { return select(Selector::MOD, key, exact, query); }
bool SqlMgr::selectTEXTURE(const QString &key, bool exact, QSqlQuery *query) { return select(Selector::TEXTURE, key, exact, query); }
bool SqlMgr::selectSIDSTAR(const QString &key, bool exact, QSqlQuery *query) { return select(Selector::SIDSTAR, key, exact, query); }
bool SqlMgr::selectCOM(const QString &key, bool exact, QSqlQuery *query) { return select(Selector::COM, key, exact, query); }
bool SqlMgr::selectNAV(const QString &key, bool exact, QSqlQuery *query) { return select(Selector::NAV, key, exact, query); }
bool SqlMgr::selectAPT(const QString &key, bool exact, QSqlQuery *query) { return select(Selector::APT, key, exact, query); }
bool SqlMgr::selectWPT(const QString &key, bool exact, QSqlQuery *query) { return select(Selector::WPT, key, exact, query); }
bool SqlMgr::selectILS(const QString &key, bool exact, QSqlQuery *query) { return select(Selector::ILS, key, exact, query); }
