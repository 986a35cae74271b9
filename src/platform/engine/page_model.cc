// Resolution of deferred texts once the whole document is known.
#include "platform/engine/page_model.h"

namespace vob::engine {

void PageModel::End(const DocumentInfo& info, const DocumentEnd& end) {
  info_ = info;
  end_ = end;
  for (Page& page : pages_) {
    for (PageItem& item : page.items) {
      if (item.deferred != kNotDeferred) {
        item.text = end.deferred_texts.at(item.deferred);
        item.deferred = kNotDeferred;
      }
    }
  }
}

}  // namespace vob::engine
