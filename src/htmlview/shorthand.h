#pragma once
// Declarations as the style parsers read them: shorthand names expanded into
// their component properties, values converted into slot values.

#include <string_view>

#include "htmlview/properties.h"
#include "htmlview/text_pool.h"

namespace talmeko::htmlview {

// Receives the component properties of one declaration.
class TPropertySink {
 public:
  virtual ~TPropertySink() = default;
  virtual void Store(PropIndex index, std::string_view value) = 0;
};

// Expands one declaration (lower-case name, trimmed lower-case value) into
// the sink; names that are neither shorthands nor among the 64 are ignored.
void ExpandDeclaration(std::string_view name, std::string_view value, TPropertySink& sink);

// Where a declaration was written: in a style element or in a style
// attribute. They differ only in what an unparsable colour means.
enum class TDeclarationSource { StyleSheet, StyleAttribute };

// The slot value of a declared text; false when nothing is to be stored.
bool ConvertDeclaredValue(PropIndex index, std::string_view value, TDeclarationSource source,
                          TTextPool& pool, TPropValue& out);

}  // namespace talmeko::htmlview
