#include "views/go_to_folder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/fake_system.h"
#include "tests/support/tree_builder.h"

namespace kelvane {
namespace {

class ShownFolders : public FolderHost {
 public:
  std::vector<std::string> shown;
  void set_path_field(const std::string&) override {}
  void show_folder_title(const std::string&) override {}
  void show_from_tree() override { shown.push_back("tree"); }
  void show_drives() override { shown.push_back("drives"); }
  void scan(const std::string& path) override { shown.push_back("scan " + path); }
};

// A request that names its folder by the path alone leaves the current folder where it is: a
// row whose entry has gone shows the folder asked for before from the tree, and ".." above the
// scanned folder asks for its parent with the tree and pcur untouched until the scan starts.
TEST(GoToFolder, ARequestWithoutAFolderKeepsTheCurrentOne) {
  testing_tree::TreeFixture t;
  testing_fakes::FakeSystem fakes;
  lobj* data = t.folder(nullptr, "D:\\DATA");
  lobj* sub = t.folder(data, "sub");
  t.dir.path = "D:\\DATA";
  t.dir.pcur = sub;
  t.dir.cdir = "D:\\DATA\\sub";
  ShownFolders host;

  go_to_folder(t.dir, &host, {nullptr, t.dir.cdir});
  EXPECT_EQ(t.dir.pcur.load(), sub);
  EXPECT_EQ(t.dir.cdir, "D:\\DATA\\sub");

  t.dir.pcur = data;
  go_to_folder(t.dir, &host, {nullptr, "D:"});
  EXPECT_EQ(t.dir.pcur.load(), data);
  EXPECT_EQ(t.dir.cdir, "D:");
  EXPECT_EQ(t.dir.isdrv, 1);
  EXPECT_EQ(host.shown, (std::vector<std::string>{"tree", "scan D:"}));
}

}  // namespace
}  // namespace kelvane
