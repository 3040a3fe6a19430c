#pragma once

#include <QObject>
#include <QList>
#include <QString>
#include <QVariantList>

// Stands in for the window object the program publishes to the map page:
// the same slot names, and every call recorded with its arguments.
class PageCalls : public QObject
{
    Q_OBJECT

public:
    struct Call {
        QString slot;
        QVariantList args;
    };

    QList<Call> calls;

    QList<Call> callsOf(const QString &slot) const
    {
        QList<Call> found;
        for (const Call &call : calls) {
            if (call.slot == slot)
                found.append(call);
        }
        return found;
    }
    bool hasCall(const QString &slot) const { return !callsOf(slot).isEmpty(); }
    void clear() { calls.clear(); }

public slots:
    void searchInTable(bool exact) { record("searchInTable", {exact}); }
    void sFndCenterAt() { record("sFndCenterAt", {}); }
    void sFpCenterAt() { record("sFpCenterAt", {}); }
    void sFpLineDel() { record("sFpLineDel", {}); }
    void sFpLineUp() { record("sFpLineUp", {}); }
    void sFpLineDown() { record("sFpLineDown", {}); }
    void sViewApt() { record("sViewApt", {}); }
    void sViewVor() { record("sViewVor", {}); }
    void sViewNdbRte() { record("sViewNdbRte", {}); }
    void sViewNdbTerm() { record("sViewNdbTerm", {}); }
    void sViewWptRte() { record("sViewWptRte", {}); }
    void sViewWptTerm() { record("sViewWptTerm", {}); }
    void sViewWptVfr() { record("sViewWptVfr", {}); }
    void sViewAtsLo() { record("sViewAtsLo", {}); }
    void sViewAtsHi() { record("sViewAtsHi", {}); }
    void sViewAtsB() { record("sViewAtsB", {}); }
    void sViewBdry() { record("sViewBdry", {}); }
    void sViewDock() { record("sViewDock", {}); }
    void sInitGoogleMap() { record("sInitGoogleMap", {}); }
    void doSomething(QString param) { record("doSomething", {param}); }
    void doCenter(double lat, double lon) { record("doCenter", {lat, lon}); }
    void doZoom(int zoom) { record("doZoom", {zoom}); }
    void doMoveSIT(double lat, double lon) { record("doMoveSIT", {lat, lon}); }
    void doData(QString value) { record("doData", {value}); }
    void doViewRwy(QString value) { record("doViewRwy", {value}); }
    void sAddAptToFp(QString param) { record("sAddAptToFp", {param}); }
    void sAddNavToFp(QString param) { record("sAddNavToFp", {param}); }
    void sAddWptToFp(QString param) { record("sAddWptToFp", {param}); }
    void sAddNewWptToFp(QString param, double lat, double lon) { record("sAddNewWptToFp", {param, lat, lon}); }
    void sAddSitToFp(double lat, double lon) { record("sAddSitToFp", {lat, lon}); }
    void sAddWptToDB(QString title, double lat, double lon) { record("sAddWptToDB", {title, lat, lon}); }
    void sAddNavToDB(QString title, double lat, double lon) { record("sAddNavToDB", {title, lat, lon}); }
    void sDelNavFromDB(QString title) { record("sDelNavFromDB", {title}); }
    void sDelWptFromDB(QString title) { record("sDelWptFromDB", {title}); }

private:
    void record(const char *slot, const QVariantList &args) { calls.append({QString::fromLatin1(slot), args}); }
};
