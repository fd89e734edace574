#pragma once
// The tokenizer and tree builder: reads a buffer and fills a document.

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "htmlview/base/buffer.h"
#include "htmlview/parse/attributes.h"
#include "htmlview/parse/document.h"
#include "htmlview/parse/section.h"
#include "htmlview/parse/symbols.h"
#include "htmlview/style/fonts.h"
#include "htmlview/style/view_defaults.h"

namespace talmeko::htmlview {

// Decides quirks mode: true unless a standards document type comes before
// the first html, head or body tag. The buffer position is restored.
bool IsQuirksDocument(TBuffer& buffer);

inline constexpr int kMaxTableNesting = 10;

class THtmlParser {
 public:
  THtmlParser(TBuffer& buffer, ThtDocument& document, const ViewDefaults& defaults, TFontResolver& fonts);

  // Builds the document from the buffer. Errors raised while building end
  // parsing silently; what was built stays.
  void ParseHtml();
  // A text document: every line becomes a paragraph in the preformatted font.
  void ParseText();

  // Tokenizer steps, public so that tests can drive them.
  void GetCh() {
    // Most characters are neither breaks, tabs, the end nor the start of a
    // tag: they are taken straight from the buffer.
    const char16_t c = buffer_.PeekChar();
    if (c > u'\r' && c != u'<') {
      buffer_.ReadChar();
      lastBreak_ = LastBreak::None;
      ch_ = c;
      return;
    }
    GetChSlow();
  }
  void Next();
  Sy Symbol() const { return sy_; }
  char16_t Ch() const { return ch_; }
  const std::u16string& Token() const { return token_; }
  const TAttributeList& Attributes() const { return attrs_; }

 private:
  enum class LastBreak { None, CR, LF };

  void GetChSlow();
  // Next for all but tags read while no error waits: errors, the end, text.
  void NextOther();
  // The characters after the current one that GetCh would take straight
  // from the buffer, as long as inRun accepts them. They are consumed, so the
  // caller's next GetCh reads the character after the run.
  template <class InRun>
  std::u16string_view TakeRun(InRun inRun);
  char16_t ReadRaw();
  char16_t PeekRaw();
  bool SkipMarkupAfterLessThan();
  void SkipComment();
  void SkipTo(char16_t a, char16_t b);
  void GetTag();
  // Makes a tag read straight from the text current and takes the character
  // after it.
  template <class PlainTag>
  void TakePlainTag(const PlainTag& tag);
  // Reads the tag name at the current character and looks it up; false
  // when no name starts there.
  bool ReadTagName(TElementSymbols& symbols);
  // Called between attributes and by the table reader before each cell.
  void SkipSpaces() {
    while (ch_ == u' ' || ch_ == u'\r') GetCh();
  }
  void ReadAttributes();
  bool ReadAttribute();
  void ReadAttributeValue(TAttribute& attr);
  void GetText();
  void ReadEntity(std::u16string& out);
  bool ReadNumericEntity(std::u16string& out, std::u16string& written);

  void StartBody();
  void DoBody(const TSymbolSet& stop);
  void DoBodyTag();
  TCellBasic& BodyContent();
  void SetBodyMargins();
  TBodyBlock& MakeBodyBlock();
  void DoStyle();
  void SkipRawContent(std::u16string_view upperEndTag);
  void DoTitle();
  void DoText();

  struct TableState;
  void DoTable();
  void TableLoop(TableState& t);
  void OpenImpliedRow(TableState& t);
  void OpenRow(TableState& t);
  void DoTableRow(TableState& t);
  void DoTableCell(TableState& t, bool header);
  void EmplaceCell(TableState& t, bool header);
  void CloseCell(TableState& t);
  void CloseRow(TableState& t);
  void DoRowGroup(TableState& t);
  void DoCaption(TableState& t);
  void DoOutsideCell(TableState& t);
  void FinishTable(TableState& t);

  void PushForTag(std::string_view tag);
  void OpenSection();
  void CloseSection();
  void DropSection();
  TTextAlign CurrentAlign() const;
  std::string AttributeLower(TAttrSymbol which) const;

  TBuffer& buffer_;
  ThtDocument& doc_;
  const ViewDefaults& defaults_;
  TFontResolver& fonts_;
  TTextPool& pool_;
  int ppi_;

  char16_t ch_ = 0;
  LastBreak lastBreak_ = LastBreak::None;
  bool inComment_ = false;
  Sy sy_ = Sy::EofSy;
  bool endTag_ = false;
  TAttributeList attrs_;
  std::u16string token_;

  TCellBasic* content_ = nullptr;
  // The open paragraph, and one made before that was closed empty and can
  // be used again; both live in the document's store.
  TSection* section_ = nullptr;
  TSection* spareSection_ = nullptr;
  std::uint32_t sectionSetId_ = 0;  // the set the last paragraph opened in
  TTextAlign sectionAlign_ = TTextAlign::Left;
  int sectionIndent_ = 0;
  std::size_t bodyIndex_ = 0;
  int tableLevel_ = 0;
  std::string pendingError_;

  struct TCellKey {
    std::uint32_t setId;
    int padding;
    int border;
    int rowAlign;
    bool header;
    friend bool operator==(const TCellKey&, const TCellKey&) = default;
  };
  struct TCellKeyHash {
    std::size_t operator()(const TCellKey& k) const noexcept {
      return (std::size_t{k.setId} * 1000003u) ^ (static_cast<std::size_t>(k.padding) << 20) ^
             (static_cast<std::size_t>(k.border) << 10) ^ (static_cast<std::size_t>(k.rowAlign) << 2) ^
             static_cast<std::size_t>(k.header);
    }
  };
  static constexpr std::size_t kMaxCachedCells = 4096;

  // The last table made without attributes, and the set it was made from.
  std::optional<THtmlTableSettings> plainTable_;
  std::uint32_t plainTableSet_ = 0;
  // Per table nesting level, the number of cells of the last row closed.
  std::array<std::size_t, kMaxTableNesting + 1> rowCellsHint_{};
  // The cells kept, and an open-addressing index of them: a power of two in
  // size, at most half full, holding position + 1 (0 for a free slot).
  struct TCachedCell {
    TCellKey key;
    TCellData data;
  };
  const TCellData* FindCell(const TCellKey& key, std::size_t hash) const;
  void KeepCell(const TCellKey& key, std::size_t hash, const TCellData& data);
  std::vector<TCachedCell> cellCache_;
  std::vector<std::uint32_t> cellIndex_;
  // The widths and heights of the cells made from their sets.
  TSizeMemo cellSizes_;
};

}  // namespace talmeko::htmlview
