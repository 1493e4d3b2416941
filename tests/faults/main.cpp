// Runs every registered fault test class; a class name among the arguments runs that one only.

#include "FaultTests.h"

#include <QApplication>
#include <QTest>
#include <vector>

namespace {

struct Registered {
    const char* name;
    FaultTestFactory factory;
};

std::vector<Registered>& registry() {
    static std::vector<Registered> tests;
    return tests;
}

}  // namespace

int registerFaultTest(const char* name, FaultTestFactory factory) {
    registry().push_back({name, std::move(factory)});
    return int(registry().size());
}

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QStringList arguments = application.arguments();
    QStringList only;
    for (const Registered& test : registry()) {
        if (arguments.removeAll(QString::fromLatin1(test.name)) > 0) {
            only << QString::fromLatin1(test.name);
        }
    }
    int failures = 0;
    for (const Registered& test : registry()) {
        if (!only.isEmpty() && !only.contains(QString::fromLatin1(test.name))) {
            continue;
        }
        const std::unique_ptr<QObject> object = test.factory();
        failures += QTest::qExec(object.get(), arguments);
    }
    return failures == 0 ? 0 : 1;
}
