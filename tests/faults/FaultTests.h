#pragma once

#include <QObject>
#include <functional>
#include <memory>

// The fault tests make on purpose what goes wrong in an office (a process killed in the middle
// of a save, a full disk, two workstations at once, a hostile file) and check that nothing is
// lost. Each test class registers itself here, and the one program runs them all in turn.
using FaultTestFactory = std::function<std::unique_ptr<QObject>()>;
int registerFaultTest(const char* name, FaultTestFactory factory);

#define VERDELL_FAULT_TEST(Class)                                                      \
    [[maybe_unused]] static const int Class##Registered = registerFaultTest( \
        #Class, [] { return std::unique_ptr<QObject>(new Class); });
