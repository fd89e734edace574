#pragma once
// Declarations as the style parsers read them: shorthand names expanded into
// their component properties, values converted into slot values.

#include <string_view>

#include "htmlview/base/text_pool.h"
#include "htmlview/style/name_table.h"
#include "htmlview/style/properties.h"

namespace talmeko::htmlview {

// Receives the component properties of one declaration.
class TPropertySink {
 public:
  virtual ~TPropertySink() = default;
  virtual void Store(PropIndex index, std::string_view value) = 0;
  // A component the expansion has already converted: a colour it had to
  // recognise anyway, or a default that is a literal and needs no copy. The
  // value is what converting the text would give; a sink that does not take
  // converted values stores the text instead.
  virtual void StoreValue(PropIndex index, std::string_view text, const TPropValue& value) {
    static_cast<void>(value);
    Store(index, text);
  }
};

// Where a declaration was written: in a style element or in a style
// attribute. They differ only in what an unparsable colour means.
enum class TDeclarationSource { StyleSheet, StyleAttribute };

// The slot value of a declared text; false when nothing is to be stored.
bool ConvertDeclaredValue(PropIndex index, std::string_view value, TDeclarationSource source,
                          TTextPool& pool, TPropValue& out);

// Stores the declarations of a style attribute straight into a set: as the
// set's own values, or as values set by a rule when merged onto a set.
class TStyleAttributeSink final : public TPropertySink {
 public:
  TStyleAttributeSink(TTextPool& pool, TProperties& props, bool byRule)
      : pool_(pool), props_(props), byRule_(byRule) {}
  void Store(PropIndex index, std::string_view value) override {
    TPropValue v;
    if (ConvertDeclaredValue(index, value, TDeclarationSource::StyleAttribute, pool_, v)) Put(index, v);
  }
  void StoreValue(PropIndex index, std::string_view, const TPropValue& value) override { Put(index, value); }

  // The set and how the sink writes it, for runs of writes: held in
  // locals, they need not be read again after each slot written.
  struct TWriter {
    TProperties& props;
    bool byRule;
    void Put(PropIndex index, const TPropValue& v) const {
      if (byRule) props.SetByRule(index, v);
      else props.Set(index, v);
    }
  };
  TWriter Writer() const { return {props_, byRule_}; }
  // A slot that takes its text as it is: what Store does for every slot
  // but the colours and the coded ones.
  [[gnu::always_inline]] void StoreText(PropIndex index, std::string_view value) {
    Put(index, TPropValue::MakeText(pool_.Store(value)));
  }

 private:
  void Put(PropIndex index, const TPropValue& v) {
    if (byRule_) props_.SetByRule(index, v);
    else props_.Set(index, v);
  }

  TTextPool& pool_;
  TProperties& props_;
  bool byRule_;
};

// Expands one declaration (lower-case name, trimmed lower-case value) into
// the sink; names that are neither shorthands nor among the 64 are ignored.
void ExpandDeclaration(std::string_view name, std::string_view value, TPropertySink& sink);
// The same into a set, with the sink's calls made directly; the name may
// come ready for the look-up.
void ExpandDeclaration(std::string_view name, std::string_view value, TStyleAttributeSink& sink);
void ExpandDeclaration(const TTableName& name, std::string_view value, TStyleAttributeSink& sink);

// The same for a declaration of a style attribute, with the forms pages
// write most taken without splitting words: a background of nothing or of
// one colour code or name sets its five slots directly. The slots and the
// texts stored are those ExpandDeclaration gives.
void ExpandAttributeDeclaration(const TTableName& name, std::string_view value, TStyleAttributeSink& sink);

// Reads a whole style attribute into the sink as the declaration by
// declaration reader of the style parser does, when the text is short and
// all in ASCII, as pages mostly write them; false, with nothing stored, for
// any other text.
bool ReadShortStyleAttribute(std::u16string_view text, TStyleAttributeSink& sink);

// A value as the style attribute readers take it: spaces trimmed at both
// ends, then one pair of matching quotes removed.
inline std::string_view TrimAndUnquote(const char* begin, const char* end) {
  while (begin < end && *begin == ' ') ++begin;
  while (end > begin && end[-1] == ' ') --end;
  if (end - begin >= 2 && (*begin == '"' || *begin == '\'') && end[-1] == *begin) {
    ++begin;
    --end;
  }
  return {begin, static_cast<std::size_t>(end - begin)};
}

}  // namespace talmeko::htmlview
