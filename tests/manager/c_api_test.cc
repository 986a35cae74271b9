#include <dlfcn.h>
#include <gtest/gtest.h>

#include <string>

#include "manager/c_api/vob_c_api.h"

namespace {

// Loads the shared library as a foreign host would: by path, resolving the C functions by name.
class CApiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    library_ = dlopen(VOB_BINARY_DIR "/libVOBADOReports2.so", RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library_, nullptr) << dlerror();
  }
  void TearDown() override {
    if (library_ != nullptr) dlclose(library_);
  }
  template <typename Function>
  Function* Resolve(const char* name) {
    void* symbol = dlsym(library_, name);
    EXPECT_NE(symbol, nullptr) << name;
    return reinterpret_cast<Function*>(symbol);
  }
  void* library_ = nullptr;
};

TEST_F(CApiTest, CreatesTheManagerByProgIdOrClassIdAndCallsItsMembers) {
  auto server_info = Resolve<decltype(vob_server_info)>("vob_server_info");
  auto create = Resolve<decltype(vob_create_object)>("vob_create_object");
  auto release = Resolve<decltype(vob_release)>("vob_release");
  auto reset = Resolve<decltype(vob_manager_reset)>("vob_manager_reset");
  auto set_param = Resolve<decltype(vob_manager_set_rept_param)>("vob_manager_set_rept_param");
  auto get_report = Resolve<decltype(vob_manager_get_report)>("vob_manager_get_report");
  auto last_error = Resolve<decltype(vob_last_error)>("vob_last_error");

  EXPECT_STREQ(server_info("ProgID"), "VOBADOReports2.rptManager");
  EXPECT_STREQ(server_info("HelpString"), "ADO Reports for Vob Accounting");
  EXPECT_EQ(server_info("NoSuchKey"), nullptr);

  vob_object* manager = nullptr;
  ASSERT_EQ(create("VOBADOReports2.rptManager", &manager), VOB_OK);
  vob_object* by_class_id = nullptr;
  std::string class_id = server_info("CLSID");
  for (char& c : class_id) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  ASSERT_EQ(create(class_id.c_str(), &by_class_id), VOB_OK);
  release(by_class_id);

  vob_object* unknown = nullptr;
  EXPECT_EQ(create("Other.Class", &unknown), VOB_E_CLASSNOTREG);
  EXPECT_EQ(unknown, nullptr);

  // Before the first reset the parameter array does not exist: error 9 as an HRESULT.
  EXPECT_EQ(static_cast<uint32_t>(set_param(manager, 1, "x")), 0x800A0009u);
  EXPECT_NE(std::string(last_error()).find("Subscript out of range"), std::string::npos);
  EXPECT_EQ(reset(manager), VOB_OK);
  EXPECT_EQ(set_param(manager, 1, "x"), VOB_OK);

  vob_object* report = reinterpret_cast<vob_object*>(1);
  EXPECT_EQ(get_report(manager, "nosuchkey", &report), VOB_OK);
  EXPECT_EQ(report, nullptr);
  release(manager);
}

}  // namespace
