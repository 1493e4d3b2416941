#include "startup/AppState.h"

AppState::AppState(const Services& services) : Services(services) {
    AppSettings.setKey(TReg::kCurrentUser);
    AppSettings.setPath(QStringLiteral("Software\\Corvane\\Verdell"));
}

QStringList AppState::openScreenNames() const {
    QStringList names;
    for (auto it = screens_.cbegin(); it != screens_.cend(); ++it) {
        if (it.value()) {
            names << it.key();
        }
    }
    names.sort();
    return names;
}
