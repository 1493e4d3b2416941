#pragma once

#include <QString>

// A customer or client as the job screen shows one: its name, address and numbers.
struct JobContact {
    QString name;
    QString address;
    QString numbers;
};
