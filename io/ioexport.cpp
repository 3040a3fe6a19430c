#include "io/iodatabase.h"

#include "app/prompt.h"
#include "data/textfile.h"
#include "io/ioprogress.h"
#include "io/updaterecord.h"

#include <QDebug>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace {

// Writes the lines of an export, each in Latin-1 and ended by a line feed,
// through the program's one file writer: the target is replaced only when
// every line was written, and is left as it was otherwise.
class RecordWriter
{
public:
    explicit RecordWriter(const QString &fileName)
        : m_file(fileName)
    {
    }

    bool open() { return m_file.open(); }

    void line(const QString &text)
    {
        QByteArray bytes = text.toLatin1();
        bytes.append(UpdateRecord::LineEnd);
        m_file.write(bytes);
    }

    // Replaces the target; false (with the reason) when anything failed.
    bool commit(QString *error)
    {
        if (m_file.commit())
            return true;
        *error = m_file.errorString();
        return false;
    }

private:
    TextFile::Writer m_file;
};

// The line of a row: every column of the query's current row as text, each
// followed by ";". False when a value cannot be carried by a record.
bool rowLine(const QSqlQuery &query, int columns, QString *line)
{
    line->clear();
    for (int i = 0; i < columns; ++i) {
        const QString value = query.value(i).toString();
        if (!UpdateRecord::representable(value))
            return false;
        line->append(value);
        line->append(QLatin1Char(UpdateRecord::Separator));
    }
    return true;
}

bool allRepresentable(const QStringList &values)
{
    for (const QString &value : values) {
        if (!UpdateRecord::representable(value))
            return false;
    }
    return true;
}

// Typed line of a MOD row (columns in stored order).
QStringList modValues(const QSqlQuery &query)
{
    return {query.value(0).toString(),
            QString::number(query.value(1).toInt()),
            QString::number(query.value(2).toInt()),
            query.value(3).toString(),
            QString::number(query.value(4).toDouble(), 'g', 6),
            QString::number(query.value(5).toDouble(), 'g', 6),
            QString::number(query.value(6).toInt()),
            QString::number(query.value(7).toInt()),
            QString::number(query.value(8).toInt()),
            UpdateRecord::hex(query.value(9).toByteArray()),
            UpdateRecord::hex(query.value(10).toByteArray()),
            UpdateRecord::hex(query.value(11).toByteArray()),
            UpdateRecord::hex(query.value(12).toByteArray())};
}

// Typed line of a TEXTURE row.
QStringList textureValues(const QSqlQuery &query)
{
    return {query.value(0).toString(), QString::number(query.value(1).toInt()),
            QString::number(query.value(2).toInt()), UpdateRecord::hex(query.value(3).toByteArray())};
}

// Rows that could not be written: how many, and the keys of the first ones.
struct Skipped {
    int count = 0;
    QStringList keys;

    void add(const QString &key)
    {
        ++count;
        if (keys.size() < 5)
            keys << key;
    }
};

} // namespace

struct CIODataBase::TableExport {
    QString table;            // "NAV"
    QString recordPrefix;     // "GEN;NAV;"
    QString operation;        // "exportNAV", in the log and the boxes
    QString openFailure;      // "exportNAV: Impossible d'ouvrir le fichier %1"
    QString done;             // "%2 NAVAID ont été exportés dans %1"
};

bool CIODataBase::exportNAV(const QString &connection, const QString &fileName)
{
    return exportTable({QStringLiteral("NAV"), QStringLiteral("GEN;NAV;"), QStringLiteral("exportNAV"),
                        tr("exportNAV: Impossible d'ouvrir le fichier %1"),
                        tr("%2 NAVAID ont été exportés dans %1")},
                       connection, fileName);
}

bool CIODataBase::exportWPT(const QString &connection, const QString &fileName)
{
    return exportTable({QStringLiteral("WPT"), QStringLiteral("WPT;WPT;"), QStringLiteral("exportWPT"),
                        tr("exportWPT: Impossible d'ouvrir le fichier %1"),
                        tr("%2 WAYPOINT ont été exportés dans %1")},
                       connection, fileName);
}

bool CIODataBase::exportTable(const TableExport &table, const QString &connection, const QString &fileName)
{
    const QSqlDatabase db = QSqlDatabase::database(connection);
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT * FROM %1;").arg(table.table)) || !query.next())
        return false;
    if (!confirmOverwrite(fileName))
        return false;

    RecordWriter writer(fileName);
    if (!writer.open()) {
        const QString text = table.openFailure.arg(fileName);
        prompt().warn(tr("Erreur CSV"), text);
        qWarning() << QStringLiteral("CIODataBase::%1").arg(table.operation) << text;
        return false;
    }

    qint64 total = 0;
    QSqlQuery count(db);
    if (count.exec(QStringLiteral("SELECT COUNT(*) FROM %1").arg(table.table)) && count.next())
        total = count.value(0).toLongLong();
    count.finish();
    beginProgress(tr("Exportation dans %1").arg(fileName), total);

    writer.line(table.recordPrefix + QStringLiteral("-;ukey;;"));
    const int columns = query.record().count();
    const int keyColumn = query.record().indexOf(QStringLiteral("ukey"));
    const QString insert = table.recordPrefix + QStringLiteral("+;");
    qint64 written = 0;
    qint64 rows = 0;
    Skipped skipped;
    QString line;
    do {
        if (!advanceProgress(rows)) {
            endProgress();
            prompt().inform(tr("Exportation"), tr("L'export a été annulé."));
            return false;
        }
        ++rows;
        if (rowLine(query, columns, &line)) {
            writer.line(insert + line);
            ++written;
        } else {
            skipped.add(query.value(keyColumn).toString());
        }
    } while (query.next());
    endProgress();

    QString error;
    if (!writer.commit(&error)) {
        reportWriteFailure(table.operation, fileName, error);
        return false;
    }
    prompt().inform(tr("Exportation"),
                    table.done.arg(fileName, QString::number(written)) + skippedText(skipped.count, skipped.keys));
    return true;
}

bool CIODataBase::exportOBJ(const QString &connection, const QDir &projectDir, const QString &project,
                            const QString &fileName)
{
    // The project's folder is made inside the chosen one, never elsewhere.
    if (project == QLatin1String(".") || project == QLatin1String("..") || TextFile::safeFileName(project) != project) {
        prompt().warn(tr("Erreur CSV"),
                      tr("exportOBJ: le nom de projet %1 ne peut pas servir de nom de dossier : il ne doit contenir "
                         "ni séparateur de chemin (« / », « \\ ») ni caractère interdit dans un nom de fichier "
                         "(: * ? \" < > |), et ne peut pas être « . » ou « .. ».")
                          .arg(project));
        return false;
    }

    const QSqlDatabase db = QSqlDatabase::database(connection);
    QSqlQuery fnm(db);
    fnm.setForwardOnly(true);
    fnm.prepare(QStringLiteral("SELECT * FROM FNM WHERE scene = ?"));
    fnm.addBindValue(project);
    QList<QStringList> fnmRows;     // every column as text
    QList<int> scenes;              // scnno of each row
    if (fnm.exec()) {
        const int columns = fnm.record().count();
        while (fnm.next()) {
            QStringList values;
            for (int i = 0; i < columns; ++i)
                values << fnm.value(i).toString();
            fnmRows << values;
            scenes << fnm.value(3).toInt();
        }
    }
    fnm.finish();
    if (fnmRows.isEmpty()) {
        prompt().warn(tr("Erreur SQL"),
                      tr("Impossible de trouver le projet %1 dans la base de donnée %2").arg(project, connection));
        qWarning().noquote() << QStringLiteral("CIODataBase::exportOBJ Project %1 %2 not found").arg(project, connection);
        return false;
    }
    if (!UpdateRecord::representable(project)) {
        prompt().warn(tr("Erreur CSV"),
                      tr("exportOBJ: le nom de projet %1 ne peut pas être écrit dans un fichier d'export "
                         "(il contient « ; », un saut de ligne ou un caractère hors Latin-1).")
                          .arg(project));
        return false;
    }

    QDir dir(projectDir);
    if (!dir.exists(project))
        dir.mkdir(project);

    if (!confirmOverwrite(fileName))
        return false;
    RecordWriter writer(fileName);
    if (!writer.open()) {
        reportOpenFailure(QStringLiteral("exportOBJ"), fileName);
        return false;
    }

    const bool clear = prompt().ask(CPrompt::Question, tr("Suppression des données"),
                                    tr("Voulez vous supprimer toutes les données existantes (conseillé) ?\n"),
                                    {CPrompt::Yes, CPrompt::No}, CPrompt::No)
        == CPrompt::Yes;

    // Objects per scene, for the progress report.
    QSqlQuery objects(db);
    objects.setForwardOnly(true);
    qint64 total = fnmRows.size();
    objects.prepare(QStringLiteral("SELECT COUNT(*) FROM OBJ WHERE scn = ?"));
    for (int scene : std::as_const(scenes)) {
        objects.bindValue(0, scene);
        if (objects.exec() && objects.next())
            total += objects.value(0).toLongLong();
    }
    objects.finish();
    beginProgress(tr("Exportation dans %1").arg(fileName), total);
    qint64 done = 0;
    Skipped skipped;
    const auto cancelled = [&]() {
        if (advanceProgress(done++))
            return false;
        endProgress();
        prompt().inform(tr("Exportation"), tr("L'export a été annulé."));
        return true;
    };

    if (clear)
        writer.line(QStringLiteral("OBJ;FNM;-;scene;%1;").arg(project));
    for (const QStringList &values : std::as_const(fnmRows)) {
        if (cancelled())
            return false;
        if (allRepresentable(values))
            writer.line(QStringLiteral("OBJ;FNM;+;") + values.join(QLatin1Char(';')) + QLatin1Char(';'));
        else
            skipped.add(values.value(0));
    }

    objects.prepare(QStringLiteral("SELECT * FROM OBJ WHERE scn = ?"));
    QString line;
    for (int scene : std::as_const(scenes)) {
        objects.bindValue(0, scene);
        if (!objects.exec() || !objects.next())
            continue;
        if (clear)
            writer.line(QStringLiteral("OBJ;OBJ;-;scn;%1;").arg(scene));
        const int columns = objects.record().count();
        const int nameColumn = objects.record().indexOf(QStringLiteral("name"));
        do {
            if (cancelled())
                return false;
            if (rowLine(objects, columns, &line))
                writer.line(QStringLiteral("OBJ;OBJ;+;") + line);
            else
                skipped.add(objects.value(nameColumn).toString());
        } while (objects.next());
    }
    objects.finish();
    endProgress();

    QString error;
    if (!writer.commit(&error)) {
        reportWriteFailure(QStringLiteral("exportOBJ"), fileName, error);
        return false;
    }
    prompt().inform(QString(), tr("Le projet 3D %1 a été enregistré dans %2").arg(project, fileName)
                                   + skippedText(skipped.count, skipped.keys));
    return true;
}

bool CIODataBase::export3DObject(const QString &connection, const QString &model, const QString &fileName)
{
    QString night = model;
    night.replace(QLatin1Char('.'), QStringLiteral("N."));

    const QSqlDatabase db = QSqlDatabase::database(connection);
    QSqlQuery mod(db);
    mod.setForwardOnly(true);
    mod.prepare(QStringLiteral("SELECT * FROM MOD WHERE name = ?"));
    mod.addBindValue(model);
    if (!mod.exec() || !mod.next()) {
        prompt().warn(tr("Erreur SQL"),
                      tr("Impossible de trouver l'objet %1 dans la base de donnée %2").arg(model, connection));
        qWarning().noquote()
            << QStringLiteral("MainWindow::on_btn3DObjectExport_clicked Object %1 %2 not found").arg(model, connection);
        return false;
    }

    if (!confirmOverwrite(fileName))
        return false;
    RecordWriter writer(fileName);
    if (!writer.open()) {
        reportOpenFailure(QStringLiteral("export3DObject"), fileName);
        return false;
    }

    Skipped skipped;
    // The MOD rows of a model (the query stands on its first row), then the
    // rows of the texture the first one names.
    const auto writeModel = [&](QSqlQuery &rows) {
        const QString texture = rows.value(3).toString();
        do {
            const QStringList values = modValues(rows);
            if (allRepresentable(values))
                writer.line(QStringLiteral("M3D;MOD;+;") + values.join(QLatin1Char(';')));
            else
                skipped.add(values.at(0));
        } while (rows.next());
        rows.finish();

        QSqlQuery textures(db);
        textures.setForwardOnly(true);
        textures.prepare(QStringLiteral("SELECT * FROM TEXTURE WHERE xname = ?"));
        textures.addBindValue(texture);
        if (!textures.exec())
            return;
        while (textures.next()) {
            const QStringList values = textureValues(textures);
            if (allRepresentable(values))
                writer.line(QStringLiteral("M3D;TEXTURE;+;") + values.join(QLatin1Char(';')));
            else
                skipped.add(values.at(0));
        }
    };

    writeModel(mod);
    QSqlQuery nightMod(db);
    nightMod.setForwardOnly(true);
    nightMod.prepare(QStringLiteral("SELECT * FROM MOD WHERE name = ?"));
    nightMod.addBindValue(night);
    if (nightMod.exec() && nightMod.next())
        writeModel(nightMod);

    QString error;
    if (!writer.commit(&error)) {
        reportWriteFailure(QStringLiteral("export3DObject"), fileName, error);
        return false;
    }
    prompt().inform(QString(), tr("L'objet 3D %1 a été enregistré dans %2").arg(model, fileName)
                                   + skippedText(skipped.count, skipped.keys));
    return true;
}

bool CIODataBase::confirmOverwrite(const QString &fileName)
{
    if (!QFileInfo::exists(fileName))
        return true;
    return prompt().ask(CPrompt::Question, tr("Attention"),
                        tr("Le fichier %1 existe déja.\nVoulez vous l'écraser ?").arg(fileName),
                        {CPrompt::Yes, CPrompt::No}, CPrompt::No)
        == CPrompt::Yes;
}

void CIODataBase::reportOpenFailure(const QString &operation, const QString &fileName)
{
    const QString text = tr("%1: Impossible d'ouvrir le fichier %2").arg(operation, fileName);
    prompt().warn(tr("Erreur CSV"), text);
    qWarning() << QStringLiteral("CIODataBase::%1").arg(operation) << text;
}

void CIODataBase::reportWriteFailure(const QString &operation, const QString &fileName, const QString &error)
{
    const QString text = tr("%1: Impossible d'écrire le fichier %2\n%3").arg(operation, fileName, error);
    prompt().warn(tr("Erreur CSV"), text);
    qWarning() << QStringLiteral("CIODataBase::%1").arg(operation) << text;
}

QString CIODataBase::skippedText(int skipped, const QStringList &keys)
{
    if (skipped == 0)
        return QString();
    QString names = keys.join(QStringLiteral(", "));
    if (skipped > keys.size())
        names += QStringLiteral(", ...");
    return tr("\n%1 ligne(s) non exportée(s) : une valeur contient « ; », un saut de ligne ou un caractère "
              "hors Latin-1 (%2).")
        .arg(QString::number(skipped), names);
}
