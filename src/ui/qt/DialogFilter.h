#pragma once

#include <QString>
#include <QStringList>

namespace trelvane::ui {

// Turns a file dialog filter written as "description|pattern" pairs
// ("VOB Files (*.vob)|*.vob", patterns separated by ';') into Qt's name
// filters ("VOB Files (*.vob)"), one per pair. A description that already
// ends in its own pattern in parentheses is not given it twice. A trailing
// description without a pattern is dropped.
QStringList toNameFilters(const QString& filter);

}  // namespace trelvane::ui
