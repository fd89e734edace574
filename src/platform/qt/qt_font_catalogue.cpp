#include "platform/qt/qt_font_catalogue.h"

#include <fontconfig/fontconfig.h>

#include <QByteArray>
#include <QFontDatabase>

#include <array>
#include <utility>

#include "platform/qt/qt_text.h"

namespace talmeko::platform::qt {
namespace {

// The families the pages and the defaults ask for, with the free fonts made
// to the same metrics. The pages lay out alike when fontconfig substitutes them.
const std::array<std::pair<const char*, const char*>, 3> kMetricAliases = {{
    {"arial", "liberation sans"},
    {"times new roman", "liberation serif"},
    {"courier new", "liberation mono"},
}};

}  // namespace

QString FontconfigBestFamily(const QString& family) {
  const QByteArray name = family.toUtf8();
  FcPattern* pattern = FcPatternCreate();
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(name.constData()));
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(nullptr, pattern, &result);
  QString best;
  FcChar8* matched = nullptr;
  if (match && FcPatternGetString(match, FC_FAMILY, 0, &matched) == FcResultMatch) {
    best = QString::fromUtf8(reinterpret_cast<const char*>(matched));
  }
  if (match) FcPatternDestroy(match);
  FcPatternDestroy(pattern);
  return best;
}

QtFontCatalogue::QtFontCatalogue() {
  for (const QString& family : QFontDatabase::families()) families_.insert(family.toCaseFolded());
}

bool QtFontCatalogue::IsInstalled(std::string_view family) const {
  const QString folded = FromCp1251(family).trimmed().toCaseFolded();
  if (folded.isEmpty()) return false;
  return families_.contains(folded) || IsMetricAlias(folded);
}

bool QtFontCatalogue::IsMetricAlias(const QString& folded) const {
  for (const auto& [name, substitute] : kMetricAliases) {
    if (folded != QLatin1String(name)) continue;
    return FontconfigBestFamily(folded).toCaseFolded() == QLatin1String(substitute);
  }
  return false;
}

}  // namespace talmeko::platform::qt
