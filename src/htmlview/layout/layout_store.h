#pragma once
// Where the layout objects of one document live. A result page lays out
// thousands of small tables, each with a paragraph or two: made one by one
// on the heap they would cost several allocations apiece, first layout and
// teardown alike. Here they are made in blocks and go all together.

#include <vector>

#include "htmlview/base/block_store.h"
#include "htmlview/layout/content_layout.h"
#include "htmlview/layout/table_layout.h"
#include "htmlview/layout/text_layout.h"

namespace talmeko::htmlview {

class TLayoutStore {
 public:
  TLayoutStore() = default;
  TLayoutStore(const TLayoutStore&) = delete;
  TLayoutStore& operator=(const TLayoutStore&) = delete;

  // The objects stay where they are made for the store's whole life.
  TSectionLayout& NewSection(const TSection& section, int textBase) {
    TSectionLayout& made = sectionStore_.Emplace(section, textBase);
    sections.push_back(&made);
    return made;
  }
  TTableLayout& NewTable(const THtmlTable& table) { return tables_.Emplace(table); }
  TContentLayout& NewContent() { return contents_.Emplace(); }

  // Every paragraph, in document order.
  std::vector<TSectionLayout*> sections;

 private:
  TBlockStore<TSectionLayout> sectionStore_;
  TBlockStore<TTableLayout> tables_;
  TBlockStore<TContentLayout> contents_;
};

}  // namespace talmeko::htmlview
