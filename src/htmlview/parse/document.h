#pragma once
// A parsed document: the body content list, the quirks decision, the style
// list and the property stack, and the text pool their sets refer to.

#include <memory>
#include <string>

#include "htmlview/base/block_store.h"
#include "htmlview/base/text_pool.h"
#include "htmlview/parse/blocks.h"
#include "htmlview/parse/section.h"
#include "htmlview/parse/section_base.h"
#include "htmlview/style/prop_stack.h"
#include "htmlview/style/style_list.h"

namespace talmeko::htmlview {

// The parser's content items, made in blocks and destroyed with the document.
struct TDocumentNodes {
  TBlockStore<TSection> Sections;
  TBlockStore<TTableBlock> Tables;
  TBlockStore<TTableAndCaptionBlock> CaptionedTables;
  TBlockStore<TBodyBlock> Bodies;
};

class ThtDocument {
 public:
  ThtDocument() : Pool(std::make_shared<TTextPool>()) {}
  ThtDocument(const ThtDocument&) = delete;
  ThtDocument& operator=(const ThtDocument&) = delete;

  // Declared before the lists that refer to them.
  TDocumentNodes Nodes;
  // The body content list; after parsing it holds one TBodyBlock.
  TCellBasic Content;
  bool UseQuirksMode = true;
  THtmlStyleList Styles;
  THtmlPropStack PropStack;
  std::shared_ptr<TTextPool> Pool;
  std::u16string Title;

  // The body block, or null for a document not parsed yet.
  const TBodyBlock* Body() const;
  // Whether the body holds no content at all.
  bool IsEmpty() const;
};

}  // namespace talmeko::htmlview
