#pragma once

#include "records/JobFields.h"

#include <QString>
#include <QStringList>

// The merge tokens of job documents and the values they are replaced by.
namespace tokens {

// Every token a word-processor template may use, in the order the templates' token lists keep.
const QStringList& all();
// The order in which a word-processor merge replaces them.
const QStringList& wordOrder();
// The order in which pre-processing looks for them.
const QStringList& scanOrder();

// What a token stands for in a word-processor document, from the job as the screen shows it.
// [COMMENTS] and [JOBDETAILS] give the whole text; the merge applies the long-text rule.
QString wordValue(const QString& token, const JobFields& job);

}  // namespace tokens
