#include "ui/qt/DialogFilter.h"

namespace trelvane::ui {
namespace {

QString stripShownPattern(QString description, const QString& pattern, const QString& patterns) {
    description = description.trimmed();
    for (const QString& shown : {pattern, patterns}) {
        const QString inParentheses = QLatin1Char('(') + shown + QLatin1Char(')');
        if (description.endsWith(inParentheses)) {
            description.chop(inParentheses.size());
            return description.trimmed();
        }
    }
    return description;
}

QString nameFilter(const QString& description, const QString& pattern) {
    QStringList parts = pattern.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (QString& part : parts) {
        part = part.trimmed();
    }
    if (parts.isEmpty()) {
        parts << QStringLiteral("*");
    }
    const QString patterns = parts.join(QLatin1Char(' '));
    const QString name = stripShownPattern(description, pattern.trimmed(), patterns);
    if (name.isEmpty()) {
        return patterns;
    }
    return name + QStringLiteral(" (") + patterns + QLatin1Char(')');
}

}  // namespace

QStringList toNameFilters(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        filters << nameFilter(parts[i], parts[i + 1]);
    }
    return filters;
}

}  // namespace trelvane::ui
