#pragma once
// Installed font families as Qt and fontconfig know them.

#include <QSet>
#include <QString>

#include <string_view>

#include "platform/font_catalogue.h"

namespace talmeko::platform::qt {

// Needs a running QGuiApplication; the family list is read once, when it is made.
class QtFontCatalogue final : public FontCatalogue {
 public:
  QtFontCatalogue();
  // The family name is Windows-1251 text.
  bool IsInstalled(std::string_view family) const override;

 private:
  bool IsMetricAlias(const QString& folded) const;

  QSet<QString> families_;  // case-folded
};

// The family fontconfig would actually use for a name.
QString FontconfigBestFamily(const QString& family);

}  // namespace talmeko::platform::qt
