#pragma once

class AppState;

// Reads the seven option flags (bits 0 to 6 of Counters.Free3) and the currency symbol from the
// Counters row. Without a readable row every flag is off and the symbol is empty.
void LoadOptions(AppState& app);

// The option flags as the Free3 bits store them.
int optionBits(const AppState& app);

// Stores the seven option flags in the Counters row; false when it could not be written.
bool SaveOptions(AppState& app);
