#pragma once
// A property set as one line of text, for tests that compare sets made in
// two ways: every slot with its kind and value, then the slots said to hold
// a value.

#include <string>

#include "htmlview/style/properties.h"

namespace talmeko::htmlview::testing {

// With ruleMarks, a slot set by a rule is marked with "!".
inline std::string DescribeSlots(const TProperties& p, bool ruleMarks) {
  std::string s;
  for (int i = 0; i < PropCount; ++i) {
    const auto index = static_cast<PropIndex>(i);
    const TPropValue& v = p[index];
    s += std::string(PropertyName(index)) + (ruleMarks && p.IsSetByRule(index) ? "!" : "") + "=";
    switch (v.Kind()) {
      case TValueKind::Empty: s += "-"; break;
      case TValueKind::Text: s += "'" + std::string(v.Text()) + "'"; break;
      case TValueKind::Int: s += std::to_string(v.Int()); break;
      case TValueKind::Real: s += std::to_string(v.Real()) + "r"; break;
    }
    s += ' ';
  }
  return s + "valued=" + std::to_string(p.ValuedSlots());
}

}  // namespace talmeko::htmlview::testing
