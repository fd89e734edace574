#pragma once
// The symbols a page is read into, written out as one string, for tests that
// hold the tokenizer's fast paths to its character-by-character steps.

#include <optional>
#include <string>

#include "htmlview/base/buffer.h"
#include "htmlview/base/exceptions.h"
#include "htmlview/base/text_util.h"
#include "htmlview/parse/attributes.h"
#include "htmlview/parse/html_parser.h"
#include "htmlview/parse/symbols.h"
#include "parse_support.h"
#include "platform/cp1251.h"

namespace talmeko::htmlview::testing {

struct TokenDumpOptions {
  int maxSymbols = 100;
  // Attribute numbers after their values.
  bool numbers = true;
  // Attributes listed after text symbols too, not only after tags.
  bool attributesOfText = false;
  // The values the list finds for the style, width and border attributes.
  bool foundValues = false;
  // The character left current after each symbol; a break shown as a
  // space when breakAsSpace, since the two read alike.
  bool current = true;
  bool breakAsSpace = true;
};

// Each symbol's number, then its text or its attributes (name and value),
// as the options say; a parse error ends the string with its message.
// A tokenizer over a page, with the document, fonts and defaults it reads.
struct PageTokenizer {
  explicit PageTokenizer(const std::string& bytes) : buffer(bytes, "", platform::kDefaultCharset) {
    doc.Styles.Initialize(defaults, true, *doc.Pool, 96);
    parser.emplace(buffer, doc, defaults, fonts);
  }
  FakeFontCatalogue catalogue;
  TFontResolver fonts{catalogue, 96};
  ViewDefaults defaults;
  TBuffer buffer;
  ThtDocument doc;
  std::optional<THtmlParser> parser;
};

inline std::string DumpTokens(const std::string& bytes, const TokenDumpOptions& how = {}) {
  PageTokenizer page(bytes);
  THtmlParser& p = *page.parser;
  std::string out;
  p.GetCh();
  try {
    for (int i = 0; i < how.maxSymbols; ++i) {
      p.Next();
      out += std::to_string(static_cast<int>(p.Symbol()));
      if (p.Symbol() == Sy::EofSy) break;
      const bool text = p.Symbol() == Sy::TextSy;
      if (text) out += "'" + platform::Utf16ToUtf8(p.Token()) + "'";
      if (!text || how.attributesOfText) {
        const TAttributeList& a = p.Attributes();
        for (std::size_t k = 0; k < a.Count(); ++k) {
          out += "[" + std::to_string(static_cast<int>(a[k].Which)) + " " + a[k].Name;
          if (a[k].HasValue) out += "=" + platform::Utf16ToUtf8(a[k].Value);
          if (how.numbers) out += "#" + std::to_string(a[k].Numeric);
          out += "]";
        }
      }
      if (!text && how.foundValues) {
        for (TAttrSymbol w : {TAttrSymbol::StyleSy, TAttrSymbol::WidthSy, TAttrSymbol::BorderSy}) {
          if (const TAttribute* found = p.Attributes().Find(w)) out += "{" + platform::Utf16ToUtf8(found->Value) + "}";
        }
      }
      if (how.current) {
        const char16_t c = how.breakAsSpace && p.Ch() == u'\r' ? u' ' : p.Ch();
        out += "|" + platform::Utf16ToUtf8(std::u16string(1, c));
      }
      out += " ";
    }
  } catch (const EParseError& e) {
    out += "error: " + e.Message();
  }
  return out;
}

}  // namespace talmeko::htmlview::testing
