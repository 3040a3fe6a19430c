#include "data/globalvar.h"

// Placeholder until the data-access layer lands.
CGlobalVar::CGlobalVar() {}
CGlobalVar::~CGlobalVar() {}
bool CGlobalVar::init() { initDBPath(); return initDB(); }
void CGlobalVar::initDBPath() {}
bool CGlobalVar::initDB() { return true; }
QString CGlobalVar::latitudeText(double, bool) { return QString(); }
QString CGlobalVar::longitudeText(double, bool) { return QString(); }
int CGlobalVar::tileRow(double) const { return 0; }
int CGlobalVar::tileKey(double, double) const { return 0; }
int CGlobalVar::GetVerticalQgtNumber(double) const { return 0; }
void CGlobalVar::buildTileTables() {}
