#include "records/Options.h"

#include "records/AppState.h"

#include <array>

namespace {

std::array<bool AppState::*, 7> flags() {
    return {&AppState::ForceDateValidation, &AppState::UseSystemDateFormat,
            &AppState::ManualNumbering,     &AppState::VatRegistered,
            &AppState::PrintCount,          &AppState::JustPrint,
            &AppState::BackgroundPrinting};
}

}  // namespace

void LoadOptions(AppState& app) {
    qint64 bits = 0;
    app.CurrencySymbol.clear();
    const auto rows = app.DbConnection.query(
        QStringLiteral("SELECT Free3, CurrencySign FROM Counters"));
    if (rows && !rows->isEmpty()) {
        bits = rows->integer(0, QStringLiteral("Free3"));
        app.CurrencySymbol = rows->text(0, QStringLiteral("CurrencySign"));
    }
    const auto members = flags();
    for (size_t bit = 0; bit < members.size(); ++bit) {
        app.*members[bit] = (bits & (qint64(1) << bit)) != 0;
    }
}

int optionBits(const AppState& app) {
    int bits = 0;
    const auto members = flags();
    for (size_t bit = 0; bit < members.size(); ++bit) {
        if (app.*members[bit]) {
            bits |= 1 << bit;
        }
    }
    return bits;
}

bool SaveOptions(AppState& app) {
    // Bits above the seven flags belong to nobody here and are kept as they are.
    return app.DbConnection.exec(
               QStringLiteral("UPDATE Counters SET Free3 = (COALESCE(Free3, 0) & ~127) | ?"),
               {optionBits(app)}) &&
           app.DbConnection.rowsAffected() > 0;
}
