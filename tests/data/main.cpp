#include <QCoreApplication>
#include <QTest>

#include <cstring>
#include <vector>

int runCoordinatesTests(int argc, char **argv);
int runSchemaTests(int argc, char **argv);
int runSqlMgrTests(int argc, char **argv);
int runGlobalVarTests(int argc, char **argv);

// The data-access tests: coordinates and tiles, the schema catalogue, the
// SQL manager, the database checks of the configuration. A first argument
// naming one class (TestSqlMgr ...) runs that class alone, with the rest of
// the arguments passed on to it.
int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    struct Suite {
        const char *name;
        int (*run)(int, char **);
    };
    const Suite suites[] = {
        {"TestCoordinates", runCoordinatesTests},
        {"TestSchema", runSchemaTests},
        {"TestSqlMgr", runSqlMgrTests},
        {"TestGlobalVar", runGlobalVarTests},
    };
    if (argc > 1) {
        for (const Suite &s : suites) {
            if (std::strcmp(argv[1], s.name) == 0) {
                std::vector<char *> rest{argv[0]};
                rest.insert(rest.end(), argv + 2, argv + argc);
                return s.run(int(rest.size()), rest.data());
            }
        }
    }
    int failed = 0;
    for (const Suite &s : suites)
        failed += s.run(argc, argv);
    return failed;
}
