// Outline tree building and writing.
// "A\B" places B under A; a level named in a path but never added itself still appears, pointing where its
// first child points, as report viewers show it.
#include "platform/render/pdf_outline.h"

#include <algorithm>
#include <string>

#include "platform/render/pdf_buffer.h"

namespace vob::render {
namespace {

struct Node {
  std::string title;
  int page = 0;  // 1-based; 0 until a page is known
  bool is_explicit = false;
  std::vector<size_t> children;
  int descendants = 0;                        // all levels are shown open
  size_t parent = 0, previous = 0, next = 0;  // 0: none (the root is never anyone's sibling)
  uint32_t object = 0;
};

size_t Child(std::vector<Node>& nodes, size_t parent, const std::string& title, bool is_last_level) {
  std::vector<size_t>& children = nodes[parent].children;
  // Consecutive entries of one group share their parent levels; a repeated last level is a new entry.
  if (!children.empty()) {
    Node& last = nodes[children.back()];
    if (last.title == title && (!is_last_level || !last.is_explicit)) return children.back();
  }
  nodes.push_back(Node{title, 0, false, {}, 0, parent, 0, 0, 0});
  nodes[parent].children.push_back(nodes.size() - 1);
  return nodes.size() - 1;
}

// Counts descendants, links siblings and gives implicit levels their first child's page.
int Prepare(std::vector<Node>& nodes, size_t index) {
  int count = 0;
  const std::vector<size_t>& children = nodes[index].children;
  for (size_t i = 0; i < children.size(); ++i) {
    count += 1 + Prepare(nodes, children[i]);
    if (i > 0) nodes[children[i]].previous = children[i - 1];
    if (i + 1 < children.size()) nodes[children[i]].next = children[i + 1];
    if (nodes[index].page == 0) nodes[index].page = nodes[children[i]].page;
  }
  nodes[index].descendants = count;
  return count;
}

}  // namespace

uint32_t WriteOutline(PdfOutput& output, const std::vector<engine::TocEntry>& toc,
                      const std::vector<uint32_t>& page_objects,
                      const std::vector<int32_t>& page_heights_twips) {
  if (toc.empty() || page_objects.empty()) return 0;
  std::vector<Node> nodes(1);
  for (const engine::TocEntry& entry : toc) {
    const std::vector<std::string> own_path{entry.text};
    const std::vector<std::string>& path = entry.path.empty() ? own_path : entry.path;
    size_t node = 0;
    for (size_t level = 0; level < path.size(); ++level) {
      node = Child(nodes, node, path[level], level + 1 == path.size());
    }
    nodes[node].is_explicit = true;
    nodes[node].page = std::clamp(entry.page, 1, static_cast<int>(page_objects.size()));
  }
  Prepare(nodes, 0);
  for (Node& node : nodes) node.object = output.Reserve();

  PdfBuffer buffer;
  for (size_t index = 0; index < nodes.size(); ++index) {
    const Node& node = nodes[index];
    buffer.Clear();
    buffer << "<<";
    if (index == 0) {
      buffer << "/Type/Outlines";
    } else {
      buffer << "/Title ";
      buffer.TextString(node.title) << "/Dest[";
      buffer.Ref(page_objects[node.page - 1]) << "/XYZ 0 ";
      buffer.Milli(MilliFromTwips(page_heights_twips[node.page - 1])) << " null]/Parent ";
      buffer.Ref(nodes[node.parent].object);
      if (node.previous != 0) (buffer << "/Prev ").Ref(nodes[node.previous].object);
      if (node.next != 0) (buffer << "/Next ").Ref(nodes[node.next].object);
    }
    if (!node.children.empty()) {
      buffer << "/First ";
      buffer.Ref(nodes[node.children.front()].object) << "/Last ";
      buffer.Ref(nodes[node.children.back()].object) << "/Count ";
      buffer.Int(node.descendants);
    }
    buffer << ">>";
    output.WriteObject(node.object, buffer.view());
  }
  return nodes[0].object;
}

}  // namespace vob::render
