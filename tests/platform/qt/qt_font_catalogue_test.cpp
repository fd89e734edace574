#include "platform/qt/qt_font_catalogue.h"

#include <gtest/gtest.h>

#include "support/qt_application.h"

namespace talmeko::platform::qt {
namespace {

TEST(QtFontCatalogue, KnowsInstalledFamiliesAndTheLiberationSubstitutes) {
  talmeko::testing::TestApplication();
  QtFontCatalogue catalogue;
  for (const char* family : {"Arial", "arial", "ARIAL", "Times New Roman", "times new roman", "Courier New",
                             "Liberation Sans", "liberation mono", " Arial "}) {
    EXPECT_TRUE(catalogue.IsInstalled(family)) << family;
  }
  for (const char* family : {"Qwzx Nonsense Sans", "", "Arial Nonsense", "Lucida Handwriting"}) {
    EXPECT_FALSE(catalogue.IsInstalled(family)) << family;
  }
}

TEST(QtFontCatalogue, FontconfigMapsArialToLiberationSans) {
  EXPECT_EQ(FontconfigBestFamily(QStringLiteral("Arial")), QStringLiteral("Liberation Sans"));
}

}  // namespace
}  // namespace talmeko::platform::qt
