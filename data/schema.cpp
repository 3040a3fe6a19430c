#include "data/schema.h"

#include <QHash>

#include <vector>

namespace {

struct Column {
    const char *name;
    char type;
    int length;
    const char *description;
};

struct TableSpec {
    const char *name;
    const char *database;
    const char *catalogueName;
    const char *key;
    std::vector<const char *> unique;
    std::vector<Column> columns;
};

// The high end of a runway; the low end repeats it with "rl" for "rh".
const std::vector<Column> &runwayEnd()
{
    static const std::vector<Column> columns = {
        {"rhid", 'C', 4, "Hi End ID"},
        {"rhla", 'D', 0, "Latitude"},
        {"rhlo", 'D', 0, "Longitude"},
        {"rhht", 'I', 0, "Elevation"},
        {"rhhd", 'D', 0, "True heading"},
        {"rhmh", 'D', 0, "Magnetic heading"},
        {"rhdt", 'I', 0, "Displaced threshold"},
        {"rhte", 'I', 0, "Threshold elevation (feet)"},
        {"rhel", 'C', 1, "End lights"},
        {"rhal", 'C', 1, "Alignment lights"},
        {"rhcl", 'C', 1, "Center lights"},
        {"rhtl", 'C', 1, "Touch down lights"},
        {"rhth", 'C', 1, "Threshold lights"},
        {"rhli", 'C', 1, "Edge lights"},
        {"rhsl", 'C', 1, "Flashing lights"},
        {"rhmk", 'C', 1, "Markings"},
        {"rhvr", 'C', 1, "RVR"},
        {"rhvv", 'I', 0, "RVV"},
        {"rhgt", 'C', 1, "Glide slope type"},
        {"rhgc", 'C', 1, "Glide slope config"},
        {"rhgl", 'C', 1, "Glide slope location"},
        {"rhl1", 'C', 1, "Light system 1"},
        {"rhl2", 'C', 1, "Light system 2"},
        {"rhl3", 'C', 1, "Light system 3"},
        {"rhl4", 'C', 1, "Light system 4"},
        {"rhl5", 'C', 1, "Light system 5"},
        {"rhl6", 'C', 1, "Light system 6"},
        {"rhl7", 'C', 1, "Light system 7"},
        {"rhl8", 'C', 1, "Light system 8"},
    };
    return columns;
}

// Every table in the order of the databases and of the tables in their files.
// RWY lists its first 13 columns here; both runway ends are appended from
// runwayEnd when the tables are built.
const std::vector<TableSpec> &specs()
{
    static const std::vector<TableSpec> list = {
        {"APT", "GEN", "APT", "ukey", {"ukey"}, {
            {"tile", 'I', 0, "Tile key"},
            {"ukey", 'C', 10, "Airport key"},
            {"afaa", 'C', 4, "FAA"},
            {"iden", 'C', 6, "ICAO"},
            {"name", 'C', 40, "Name"},
            {"ctry", 'C', 4, "Country"},
            {"stat", 'C', 6, "State"},
            {"acty", 'C', 20, "County"},
            {"atyp", 'I', 0, "Type"},
            {"alat", 'D', 0, "Latitude"},
            {"alon", 'D', 0, "Longitude"},
            {"aele", 'I', 0, "Elevation(feet)"},
            {"aown", 'I', 0, "Ownership"},
            {"ause", 'I', 0, "Usage"},
            {"argn", 'C', 6, "Operating region"},
            {"antm", 'C', 20, "NOTAM facility"},
            {"afss", 'C', 20, "FSS facility"},
            {"amag", 'C', 0, "Magnetic variation"},
            {"aalt", 'I', 0, "Traffic altitude (feet MSL)"},
            {"afsa", 'I', 0, "Flight Service available"},
            {"antd", 'I', 0, "NOTAM D available"},
            {"aata", 'I', 0, "Air Traffic Control available"},
            {"aseg", 'I', 0, "Segmented circle available"},
            {"alnd", 'I', 0, "Landing Fee charged"},
            {"amcj", 'I', 0, "Military/Civil joint use"},
            {"amln", 'I', 0, "Military landing rights"},
            {"acus", 'I', 0, "Customs entry airport"},
            {"afue", 'I', 0, "Fuel types available"},
            {"afrm", 'I', 0, "Frame services available"},
            {"aeng", 'I', 0, "Engine services available"},
            {"abto", 'I', 0, "Bottled oxygen available"},
            {"ablo", 'I', 0, "Bulk oxygen available"},
            {"alen", 'I', 0, "Beacon lens color"},
            {"acft", 'I', 0, "Based aircraft types"},
            {"aaco", 'I', 0, "Annual commercial operations"},
            {"aaga", 'I', 0, "Annual general aviation operations"},
            {"aamo", 'I', 0, "Annual military operations"},
            {"aatf", 'I', 0, "Airport attendance"},
            {"aats", 'I', 0, "Airport attendance start time"},
            {"aate", 'I', 0, "Airport attendance end time"},
            {"altf", 'I', 0, "Airport lighting"},
            {"alts", 'I', 0, "Airport lighting start time"},
            {"alte", 'I', 0, "Airport lighting end time"},
            {"atpe", 'I', 0, "Airport Type"},
            {"aicn", 'I', 0, "Airport Icon"},
            {"anrw", 'I', 0, "Number of runways"},
            {"alrw", 'I', 0, "Longest runway in feet"},
            {"avor", 'I', 0, "VOR colocated on airport property"},
            {"aatc", 'I', 0, "ATC service available"},
            {"ails", 'I', 0, "ILS approaches available"},
        }},
        {"RWY", "GEN", "RWY", "rapt", {"rapt", "nseq"}, {
            {"nseq", 'I', 0, "Sequence number"},
            {"rapt", 'C', 10, "Airport key"},
            {"rlen", 'I', 0, "Runway length"},
            {"rwid", 'I', 0, "Runway width"},
            {"rsfc", 'I', 0, "Surface type"},
            {"rcon", 'I', 0, "Surface condition"},
            {"rpav", 'I', 0, "Pavement"},
            {"rpcn", 'I', 0, "Pavement classification"},
            {"rsub", 'I', 0, "Pavement subgrade"},
            {"rpsi", 'I', 0, "Pavement Tire PSI"},
            {"rpat", 'I', 0, "Traffic Pattern direction"},
            {"rcls", 'I', 0, "Closed unusable"},
            {"rpcl", 'I', 0, "Pilot controlled lighting"},
        }},
        {"COM", "GEN", "COM", "ckey", {"ckey"}, {
            {"tile", 'I', 0, "Tile key"},
            {"ckey", 'C', 10, "COM key"},
            {"capt", 'C', 10, "Airport key"},
            {"cnam", 'C', 20, "COM name"},
            {"ctyp", 'I', 0, "COM type"},
            {"frq1", 'D', 0, "Frequency 1"},
            {"frq2", 'D', 0, "Frequency 2"},
            {"frq3", 'D', 0, "Frequency 3"},
            {"frq4", 'D', 0, "Frequency 4"},
            {"frq5", 'D', 0, "Frequency 5"},
            {"clat", 'D', 0, "Latitude"},
            {"clon", 'D', 0, "Longitude"},
        }},
        {"ILS", "GEN", "ILS", "ikey", {"ikey"}, {
            {"tile", 'I', 0, "Tile key"},
            {"ikey", 'C', 10, "ILS key"},
            {"iapt", 'C', 10, "Airport key"},
            {"irwy", 'C', 4, "Runway end"},
            {"iils", 'C', 6, "ILS identity"},
            {"name", 'C', 40, "ILS name"},
            {"ntyp", 'I', 0, "ILS type"},
            {"ilat", 'D', 0, "Latitude"},
            {"ilon", 'D', 0, "Longitude"},
            {"ialt", 'I', 0, "Altitude"},
            {"freq", 'D', 0, "Frequency"},
            {"gsan", 'D', 0, "Glide angle"},
            {"mdev", 'D', 0, "Mag deviation"},
            {"rang", 'D', 0, "Range"},
        }},
        {"NAV", "GEN", "NAV", "ukey", {"ukey"}, {
            {"tile", 'I', 0, "Tile key"},
            {"ukey", 'C', 10, "NAV key"},
            {"iden", 'C', 5, "NAV ident"},
            {"name", 'C', 40, "NAV name"},
            {"nfrq", 'F', 0, "NAV frequency"},
            {"nmdv", 'F', 0, "Mag deviation"},
            {"nsvr", 'F', 0, "Slaved deviation"},
            {"ctry", 'C', 4, "Country"},
            {"stat", 'C', 4, "State"},
            {"ntyp", 'I', 0, "Type"},
            {"ncls", 'I', 0, "Classification"},
            {"nuse", 'I', 0, "Usage"},
            {"nlat", 'F', 0, "Latitude"},
            {"nlon", 'F', 0, "Longitude"},
            {"nalt", 'I', 0, "Altitude"},
            {"npow", 'F', 0, "Power"},
            {"nrgn", 'F', 0, "Range"},
        }},
        {"CTY", "GEN", "CTY", "cuid", {"cuid"}, {
            {"cuid", 'C', 4, "Country ID"},
            {"cnam", 'C', 40, "Country name"},
        }},
        {"MOD", "M3D", "MOD", "name", {"name", "lod"}, {
            {"name", 'C', 256, "Key: SMF or BIN file name"},
            {"Type", 'I', 0, "Category of model"},
            {"tsp", 'C', 1, "Transparent indicator"},
            {"ntex", 'C', 256, "Texture file"},
            {"ftop", 'D', 0, "Top (feet)"},
            {"fbot", 'D', 0, "Bottom (feet)"},
            {"lod", 'I', 0, "Level of Detail [0-3]"},
            {"nvtx", 'I', 0, "Number of vertices"},
            {"nind", 'I', 0, "Number of indices"},
            {"vtab", 'B', 0, "Vertex table"},
            {"ntab", 'B', 0, "Normal table"},
            {"ttab", 'B', 0, "Texture table"},
            {"xtab", 'B', 0, "Index table"},
        }},
        {"TEXTURE", "M3D", "TEX", "xname", {"xname"}, {
            {"xname", 'C', 32, "texture name"},
            {"wd", 'I', 0, "Width in pixels"},
            {"ht", 'I', 0, "Height in pixels"},
            {"tex", 'B', 0, "RGBA array"},
        }},
        {"SCN", "M3D", "", "key", {"key"}, {
            {"key", 'I', 0, "Scene key"},
            {"Type", 'I', 0, "Scene type"},
            {"sType", 'C', 0, "Scene type name"},
        }},
        {"FNM", "OBJ", "", "key", {"key"}, {
            {"key", 'I', 0, "File key"},
            {"file", 'C', 0, "Project file"},
            {"scene", 'C', 0, "Project name"},
            {"scnno", 'I', 0, "Scene number"},
        }},
        {"OBJ", "OBJ", "", "", {}, {
            {"qgt", 'I', 0, "Quarter tile"},
            {"type", 'I', 0, "Type"},
            {"xk", 'I', 0, "Longitude (1/100 arc-second)"},
            {"yk", 'I', 0, "Latitude (1/100 arc-second)"},
            {"kind", 'I', 0, "Kind"},
            {"flag", 'I', 0, "Flags"},
            {"mday", 'I', 0, "Modification day"},
            {"nday", 'I', 0, "Day count"},
            {"lon", 'D', 0, "Longitude"},
            {"lat", 'D', 0, "Latitude"},
            {"xori", 'D', 0, "X orientation"},
            {"yori", 'D', 0, "Y orientation"},
            {"zori", 'D', 0, "Z orientation"},
            {"fobj", 'C', 0, "Model file"},
            {"nozb", 'I', 0, "No Z buffer"},
            {"nozu", 'I', 0, "No Z update"},
            {"pm1", 'I', 0, "Parameter 1"},
            {"pm2", 'I', 0, "Parameter 2"},
            {"name", 'C', 0, "Name"},
            {"desc", 'C', 0, "Description"},
            {"scn", 'I', 0, "Scene number"},
        }},
        {"Light", "OBJ", "", "", {}, {
            {"xk", 'I', 0, "Longitude (1/100 arc-second)"},
            {"yk", 'I', 0, "Latitude (1/100 arc-second)"},
            {"mod", 'C', 0, "Model file"},
            {"mode", 'I', 0, "Mode"},
            {"color", 'I', 0, "Color"},
            {"texture", 'I', 0, "Texture number"},
            {"radius", 'D', 0, "Radius"},
            {"freq", 'D', 0, "Frequency"},
            {"ontime", 'D', 0, "On time"},
            {"dx", 'D', 0, "X offset"},
            {"dy", 'D', 0, "Y offset"},
            {"dz", 'D', 0, "Z offset"},
        }},
        {"Arcs", "TXY", "", "aKey", {}, {
            {"aKey", 'C', 0, "Airport key"},
            {"dim1", 'I', 0, "Take-off edge count"},
            {"tkoEdge", 'B', 0, "Take-off edges"},
            {"dim2", 'I', 0, "Take-off path count"},
            {"tkoPath", 'B', 0, "Take-off path"},
            {"dim3", 'I', 0, "Landing edge count"},
            {"lndEdge", 'B', 0, "Landing edges"},
            {"dim4", 'I', 0, "Landing path count"},
            {"lndPath", 'B', 0, "Landing path"},
        }},
        {"Light", "TXY", "Light", "aKey", {}, {
            {"aKey", 'C', 10, "Airport key"},
            {"Type", 'I', 0, "Light type (omni, flash, etc)"},
            {"Txtr", 'I', 0, "Texture number"},
            {"sCol", 'I', 0, "Light color"},
            {"sPm1", 'I', 0, "spot parameter 1"},
            {"sPm2", 'I', 0, "Spot parameter 2"},
            {"Nbs", 'I', 0, "spot count in blob table"},
            {"vTab", 'B', 0, "Spot table"},
        }},
        {"Node", "TXY", "", "aKey", {}, {
            {"aKey", 'C', 0, "Airport key"},
            {"Ident", 'I', 0, "Node number"},
            {"Lat", 'D', 0, "Latitude"},
            {"Lon", 'D', 0, "Longitude"},
            {"Alt", 'D', 0, "Altitude"},
            {"rwid", 'I', 0, "Runway"},
            {"type", 'I', 0, "Type"},
            {"Sector", 'I', 0, "Sector"},
            {"rfu", 'I', 0, "Reserved"},
        }},
        {"Pave", "TXY", "Pave", "aKey", {}, {
            {"aKey", 'C', 10, "Airport key"},
            {"Type", 'I', 0, "Pavement type (pave,edge,etc)"},
            {"aUse", 'I', 0, "Airport usage (taxiway,parking,etc)"},
            {"Nbvt", 'I', 0, "Vertex count in blob table"},
            {"vTab", 'B', 0, "Vertex table"},
        }},
        {"WPT", "WPT", "WPT", "ukey", {"ukey"}, {
            {"tile", 'I', 0, "Tile key"},
            {"iden", 'C', 10, "WPT ident"},
            {"ukey", 'C', 10, "WPT key"},
            {"name", 'C', 26, "WPT name"},
            {"ctry", 'C', 3, "Country"},
            {"stat", 'C', 3, "State"},
            {"wloc", 'C', 1, "Associated VOR"},
            {"wtyp", 'I', 0, "Type"},
            {"wuse", 'I', 0, "Usage"},
            {"wlat", 'D', 0, "Latitude"},
            {"wlon", 'D', 0, "Longitude"},
            {"walt", 'I', 0, "Altitude"},
            {"wmag", 'D', 0, "Mag deviation"},
            {"wbrg", 'D', 0, "Bearing to NAV"},
            {"wdis", 'D', 0, "Distance to NAV"},
            {"wnav", 'C', 10, "NAV key"},
        }},
        {"ATSROUTE", "ROUTE", "ATSROUTE", "akey", {"akey"}, {
            {"tile", 'I', 0, "Tile key"},
            {"akey", 'C', 11, "ATS Route Key"},
            {"aaid", 'C', 7, "ATS Route ID"},
            {"seqn", 'I', 0, "Sequence Number"},
            {"typs", 'I', 0, "Type"},
            {"bidr", 'I', 0, "Bidirectional"},
            {"fqcl", 'I', 0, "Frequency Class"},
            {"levl", 'I', 0, "Level"},
            {"stat", 'I', 0, "Status"},
            {"nvk1", 'C', 11, "Navaid Key 1"},
            {"nvt1", 'I', 0, "Navaid Type 1"},
            {"nvi1", 'C', 6, "Navaid Identifier 1"},
            {"nvc1", 'C', 3, "Navaid Country Code 1"},
            {"nvk2", 'C', 11, "Navaid Key 2"},
            {"nvt2", 'I', 0, "Navaid Type 2"},
            {"nvi2", 'C', 6, "Navaid identifier 2"},
            {"nvc2", 'C', 3, "Navaid Country Code 2"},
            {"dist", 'D', 0, "Distance"},
            {"inbd", 'D', 0, "Inbound Course"},
            {"otbd", 'D', 0, "Outbound Course"},
            {"mina", 'I', 0, "Minimum Altitude"},
            {"maxa", 'I', 0, "Maximum Altitude"},
            {"lat1", 'D', 0, "latitude of navaid 1"},
            {"lon1", 'D', 0, "longitude of navaid 1"},
            {"lat2", 'D', 0, "latitude Navaid 2"},
            {"lon2", 'D', 0, "longitude of navaid 2"},
        }},
        {"BDRY", "ROUTE", "BDRY", "bkey", {"bkey", "bseg"}, {
            {"tile", 'I', 0, "Tile key"},
            {"bkey", 'C', 7, "Boundary Ident"},
            {"bseg", 'I', 0, "Segment Number"},
            {"bnam", 'C', 38, "Boundary Name"},
            {"btyp", 'I', 0, "Type"},
            {"bica", 'C', 4, "ICAO Name"},
            {"bshp", 'C', 1, "Shape"},
            {"bdrv", 'C', 1, "Derivation"},
            {"blt1", 'D', 0, "Latitude 1"},
            {"bln1", 'D', 0, "Longitude 1"},
            {"blt2", 'D', 0, "Latitude 2"},
            {"bln2", 'D', 0, "Longitude 2"},
            {"blt0", 'D', 0, "Latitude 0"},
            {"bln0", 'D', 0, "Longitude 0"},
            {"brd1", 'I', 0, "Radius 1"},
            {"brd2", 'I', 0, "Radius 2"},
            {"bbg1", 'D', 0, "Bearing 1"},
            {"bbg2", 'D', 0, "Bearing 2"},
            {"bnvi", 'C', 4, "Navaid Ident"},
            {"bnvt", 'I', 0, "Navaid Type"},
            {"bnvc", 'C', 2, "Navaid Country"},
        }},
        {"SIDSTAR", "ROUTE", "SIDSTAR", "skey", {"skey"}, {
            {"tile", 'I', 0, "Tile key"},
            {"skey", 'C', 10, "SID STAR key"},
            {"sapt", 'C', 5, "Airport Key"},
            {"strm", 'C', 40, "SID STAR Name"},
            {"sqnm", 'I', 0, "Sequence Number"},
            {"styp", 'I', 0, "SID or STAR"},
            {"swid", 'C', 0, "Waypoint ID"},
            {"swpt", 'I', 0, "Waypoint Type"},
            {"salt", 'F', 0, "Altitude"},
            {"slat", 'F', 0, "Latitude"},
            {"slon", 'F', 0, "Longitude"},
        }},
        {"OSM_OBJ", "OSM", "", "Ident", {}, {
            {"Ident", 'C', 0, "Object ident"},
            {"Name", 'C', 0, "Object name"},
        }},
        // The state list: described by the catalogue, in no database the
        // program opens.
        {"STATE", "", "STATE", "skey", {}, {
            {"skey", 'C', 5, "State key"},
            {"sctr", 'C', 3, "Country code"},
            {"nsta", 'C', 4, "State code"},
            {"name", 'C', 40, "State name"},
        }},
    };
    return list;
}

void append(CTable &table, const Column &c, const QString &name)
{
    CField f;
    f.name = name;
    f.type = QString(QLatin1Char(c.type));
    f.length = c.length;
    f.description = QString::fromUtf8(c.description);
    f.position = int(table.fields.size());
    table.fields << f;
}

QList<CTable> buildTables()
{
    QList<CTable> out;
    for (const TableSpec &entry : specs()) {
        CTable t;
        t.name = QString::fromLatin1(entry.name);
        t.database = QString::fromLatin1(entry.database);
        t.catalogueName = QString::fromLatin1(entry.catalogueName);
        t.key = QString::fromLatin1(entry.key);
        for (const char *u : entry.unique)
            t.unique << QString::fromLatin1(u);
        for (const Column &c : entry.columns)
            append(t, c, QString::fromLatin1(c.name));
        if (t.name == QLatin1String("RWY")) {
            for (const Column &c : runwayEnd())
                append(t, c, QString::fromLatin1(c.name));
            for (const Column &c : runwayEnd()) {
                QString name = QString::fromLatin1(c.name);
                name[1] = u'l';
                Column low = c;
                if (name == QLatin1String("rlid"))
                    low.description = "Low End ID";
                append(t, low, name);
            }
        }
        out << t;
    }
    return out;
}

} // namespace

QString CField::sqlType() const
{
    if (type == QLatin1String("I"))
        return QStringLiteral("INTEGER");
    if (type == QLatin1String("C"))
        return QStringLiteral("TEXT");
    if (type == QLatin1String("D") || type == QLatin1String("F"))
        return QStringLiteral("REAL");
    if (type == QLatin1String("B"))
        return QStringLiteral("BLOB");
    return QString();
}

QStringList CTable::columnNames() const
{
    QStringList names;
    names.reserve(fields.size());
    for (const CField &f : fields)
        names << f.name;
    return names;
}

int CTable::indexOf(const QString &column) const
{
    for (const CField &f : fields) {
        if (f.name.compare(column, Qt::CaseInsensitive) == 0)
            return f.position;
    }
    return -1;
}

QString CTable::createStatement() const
{
    QStringList parts;
    for (const CField &f : fields)
        parts << f.name + u' ' + f.sqlType();
    if (!unique.isEmpty())
        parts << QStringLiteral("UNIQUE (") + unique.join(QStringLiteral(", ")) + u')';
    return QStringLiteral("CREATE TABLE ") + name + QStringLiteral(" (") + parts.join(QStringLiteral(", ")) + u')';
}

const QList<CTable> &CSchema::allTables()
{
    static const QList<CTable> tables = buildTables();
    return tables;
}

const QStringList &CSchema::databases()
{
    static const QStringList names = {QStringLiteral("GEN"), QStringLiteral("M3D"), QStringLiteral("OBJ"),
                                      QStringLiteral("TXY"), QStringLiteral("WPT"), QStringLiteral("ROUTE"),
                                      QStringLiteral("OSM")};
    return names;
}

const QStringList &CSchema::catalogueTableNames()
{
    static const QStringList names = {QStringLiteral("APT"), QStringLiteral("COM"), QStringLiteral("RWY"),
                                      QStringLiteral("ILS"), QStringLiteral("NAV"), QStringLiteral("WPT"),
                                      QStringLiteral("Light"), QStringLiteral("Pave"), QStringLiteral("MOD"),
                                      QStringLiteral("TEX")};
    return names;
}

const QList<CField> &CSchema::catalogue(const QString &catalogueName)
{
    static const QList<CField> none;
    if (catalogueName.isEmpty())
        return none;
    for (const CTable &t : allTables()) {
        if (t.catalogueName == catalogueName)
            return t.fields;
    }
    return none;
}

QString CSchema::keyColumn(const QString &catalogueName)
{
    if (catalogueName.isEmpty())
        return QString();
    for (const CTable &t : allTables()) {
        if (t.catalogueName == catalogueName)
            return t.key;
    }
    return QString();
}

QList<const CTable *> CSchema::tables(const QString &database)
{
    QList<const CTable *> out;
    if (database.isEmpty())
        return out;
    for (const CTable &t : allTables()) {
        if (t.database == database)
            out << &t;
    }
    return out;
}

QStringList CSchema::tableNames(const QString &database)
{
    QStringList names;
    for (const CTable *t : tables(database))
        names << t->name;
    return names;
}

const CTable *CSchema::table(const QString &database, const QString &tableName)
{
    if (database.isEmpty())
        return nullptr;
    for (const CTable &t : allTables()) {
        if (t.database == database && t.name.compare(tableName, Qt::CaseInsensitive) == 0)
            return &t;
    }
    return nullptr;
}

QStringList CSchema::columnNames(const QString &database, const QString &tableName)
{
    const CTable *t = table(database, tableName);
    return t ? t->columnNames() : QStringList();
}
