#pragma once

class Database;

// Brings a database made for an older release up to the current schema.
//
// DatabaseNeedsUpgrade answers whether the version stamp is missing or old (creating the
// version table and its row when they are missing); any other failure answers no.
// UpgradeSchema runs the upgrade steps in order and stamps the version. A step's statement that
// fails because its object already exists is passed over; any other failure ends that step and
// the next step still runs. Nothing is ever shown to the user.
bool DatabaseNeedsUpgrade(Database& db);
void UpgradeSchema(Database& db);
