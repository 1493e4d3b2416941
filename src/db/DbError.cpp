#include "db/DbError.h"

qint32 DbError::number() const {
    switch (condition) {
        case DbCondition::None: return 0;
        case DbCondition::TableMissing: return qint32(0x80040E37);
        case DbCondition::CannotExecute: return qint32(0x80040E14);
        case DbCondition::ErrorsOccurred: return qint32(0x80040E21);
        case DbCondition::Unspecified:
        case DbCondition::ServerGone:
            return qint32(0x80004005);
        case DbCondition::Other: return nativeCode;
    }
    return nativeCode;
}
