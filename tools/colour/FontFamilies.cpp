// Font family names without foundries.
#include "tools/colour/FontFamilies.h"

#include <QSet>
#include <algorithm>

namespace pagelathe {
namespace {

// "Family [Foundry]" as the font database writes a family that several foundries make.
QString WithoutFoundry(const QString& family) {
  if (family.endsWith(']')) {
    const qsizetype open = family.lastIndexOf('[');
    if (open > 0) return family.left(open).trimmed();
  }
  return family.trimmed();
}

}  // namespace

QStringList FontFamilyNames(const QStringList& families) {
  QStringList names;
  names.reserve(families.size());
  QSet<QString> seen;
  for (const QString& family : families) {
    QString name = WithoutFoundry(family);
    if (name.isEmpty() || seen.contains(name)) continue;
    seen.insert(name);
    names.append(std::move(name));
  }
  std::stable_sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) < 0;
  });
  return names;
}

}  // namespace pagelathe
