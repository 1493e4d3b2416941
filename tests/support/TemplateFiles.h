#pragma once

#include <QString>
#include <QStringList>

class TestEnv;

namespace templatefiles {

// The merge fixtures of tests/data/merge: every token, in a Word template and in a workbook.
inline const QStringList MergeFixtures = {QStringLiteral("every-token.dotx"),
                                          QStringLiteral("every-token.xltx")};

// Copies the named templates into the data folder's Templates (a name starting with ':' is one
// of the program's own resources, the others come from tests/data/merge), makes that folder the
// templates folder, in the settings too, and keeps documents in `docs` (the data folder's Docs
// when empty). The templates folder.
QString install(TestEnv& env, const QStringList& names = MergeFixtures, const QString& docs = {});

}  // namespace templatefiles
