#include "startup/AppState.h"

AppState::AppState(const Services& services) : Services(services) {
    AppSettings.setKey(TReg::kCurrentUser);
    AppSettings.setPath(QStringLiteral("Software\\Corvane\\Verdell"));
}
