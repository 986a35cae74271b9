#include <dlfcn.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <functional>
#include <mutex>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "manager/c_api/vob_c_api.h"
#include "support/run_command.h"

namespace {

using vob::testing::RunCommand;
using vob::testing::Vobreports;

const std::string kLibrary = VOB_BINARY_DIR "/libVOBADOReports2.so";

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// The run's date and time, which only a pinned clock makes equal between two runs.
std::string WithoutRunTime(const std::string& text) {
  static const std::regex kRunTime(R"(\d+/\d+/\d{4} \d+:\d\d:\d\d [AP]M)");
  return std::regex_replace(text, kRunTime, "<now>");
}

// The C functions, resolved by name from the shared library as a foreign host resolves them.
struct Api {
  explicit Api(void* library) : library_(library) {}
  template <typename Function>
  Function* Resolve(const char* name) {
    void* symbol = dlsym(library_, name);
    EXPECT_NE(symbol, nullptr) << name;
    return reinterpret_cast<Function*>(symbol);
  }
  void* library_;
#define VOB_FUNCTION(name) decltype(::name)* name = Resolve<decltype(::name)>(#name)
  VOB_FUNCTION(vob_version);
  VOB_FUNCTION(vob_server_info);
  VOB_FUNCTION(vob_create_object);
  VOB_FUNCTION(vob_release);
  VOB_FUNCTION(vob_release_checked);
  VOB_FUNCTION(vob_last_error);
  VOB_FUNCTION(vob_manager_get_report);
  VOB_FUNCTION(vob_manager_reset);
  VOB_FUNCTION(vob_manager_set_data_source);
  VOB_FUNCTION(vob_manager_set_date_format);
  VOB_FUNCTION(vob_manager_set_currency_format);
  VOB_FUNCTION(vob_manager_set_price_fmt);
  VOB_FUNCTION(vob_manager_set_logo_props);
  VOB_FUNCTION(vob_manager_set_rept_param);
  VOB_FUNCTION(vob_manager_set_title);
  VOB_FUNCTION(vob_manager_set_now);
  VOB_FUNCTION(vob_report_set_progress);
  VOB_FUNCTION(vob_report_cancel);
  VOB_FUNCTION(vob_report_run_to_file);
  VOB_FUNCTION(vob_report_run_to_pdf_bytes);
  VOB_FUNCTION(vob_report_page_count);
  VOB_FUNCTION(vob_report_print);
  VOB_FUNCTION(vob_free_bytes);
#undef VOB_FUNCTION
};

class CApiTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    directory_ = std::filesystem::temp_directory_path() / ("vob-c-api-" + std::to_string(::getpid()));
    std::filesystem::create_directories(directory_);
    ASSERT_EQ(
        RunCommand(Vobreports() + "demo-db " + Database() + " --date 2024-06-30 >/dev/null 2>&1").exit_code,
        0);
  }
  static void TearDownTestSuite() { std::filesystem::remove_all(directory_); }
  static std::string Database() { return (directory_ / "demo.sqlite").string(); }

  void SetUp() override {
    library_ = dlopen(kLibrary.c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library_, nullptr) << dlerror();
    api_ = std::make_unique<Api>(library_);
  }
  void TearDown() override {
    api_.reset();
    if (library_ != nullptr) dlclose(library_);
  }

  // A manager with the settings `vobreports run` hands over by default, and the report for key.
  vob_object* NewManager() {
    vob_object* manager = nullptr;
    EXPECT_EQ(api_->vob_create_object("VOBADOReports2.rptManager", &manager), VOB_OK);
    const std::string source = "Provider=SQLite;Data Source=" + Database() + ";";
    EXPECT_EQ(api_->vob_manager_set_data_source(manager, source.c_str()), VOB_OK);
    EXPECT_EQ(api_->vob_manager_set_date_format(manager, "mm/dd/yy"), VOB_OK);
    EXPECT_EQ(api_->vob_manager_set_currency_format(manager, "$#,##0.00;($#,##0.00)"), VOB_OK);
    EXPECT_EQ(api_->vob_manager_set_price_fmt(manager, "#,##0.00"), VOB_OK);
    EXPECT_EQ(api_->vob_manager_reset(manager), VOB_OK);
    EXPECT_EQ(api_->vob_manager_set_logo_props(manager, 0, "", 0, 0), VOB_OK);
    return manager;
  }
  vob_object* GetReport(vob_object* manager, const char* key) {
    vob_object* report = nullptr;
    EXPECT_EQ(api_->vob_manager_get_report(manager, key, &report), VOB_OK);
    EXPECT_NE(report, nullptr) << key;
    return report;
  }

  static std::filesystem::path directory_;
  void* library_ = nullptr;
  std::unique_ptr<Api> api_;
};

std::filesystem::path CApiTest::directory_;

TEST_F(CApiTest, CreatesTheManagerByProgIdOrClassIdAndCallsItsMembers) {
  Api& api = *api_;
  EXPECT_STREQ(api.vob_server_info("ProgID"), "VOBADOReports2.rptManager");
  EXPECT_STREQ(api.vob_server_info("HelpString"), "ADO Reports for Vob Accounting");
  EXPECT_EQ(api.vob_server_info("NoSuchKey"), nullptr);

  vob_object* manager = nullptr;
  ASSERT_EQ(api.vob_create_object("VOBADOReports2.rptManager", &manager), VOB_OK);
  vob_object* by_class_id = nullptr;
  std::string class_id = api.vob_server_info("CLSID");
  for (char& c : class_id) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  ASSERT_EQ(api.vob_create_object(class_id.c_str(), &by_class_id), VOB_OK);
  api.vob_release(by_class_id);

  // Settings belong to the calling thread: on a new thread the parameters do not exist until its own reset.
  vob_result before_reset = VOB_OK;
  std::string before_reset_message;
  std::thread([&] {
    before_reset = api.vob_manager_set_rept_param(manager, 1, "x");
    before_reset_message = api.vob_last_error();
  }).join();
  EXPECT_EQ(static_cast<uint32_t>(before_reset), 0x800A0009u);
  EXPECT_EQ(before_reset_message, "Subscript out of range: SetReptParam(1)");

  EXPECT_EQ(api.vob_manager_reset(manager), VOB_OK);
  EXPECT_EQ(api.vob_manager_set_rept_param(manager, 6, "last"), VOB_OK);
  EXPECT_EQ(api.vob_manager_set_rept_param(manager, 7, "ignored"), VOB_OK);
  vob_object* report = reinterpret_cast<vob_object*>(1);
  EXPECT_EQ(api.vob_manager_get_report(manager, "nosuchkey", &report), VOB_OK);
  EXPECT_EQ(report, nullptr);
  api.vob_release(manager);
  api.vob_release(nullptr);
}

// Each failure leaves its own message, never the one before it; a success leaves "".
TEST_F(CApiTest, EveryFailureSetsItsOwnMessage) {
  Api& api = *api_;
  vob_object* manager = NewManager();
  vob_object* report = GetReport(manager, "araging");
  vob_object* created = nullptr;
  unsigned char* bytes = nullptr;
  size_t size = 0;
  int32_t pages = 0;
  std::string long_id(1 << 20, 'x');
  long_id[0] = '\xFF';

  struct Case {
    std::function<vob_result()> call;
    vob_result result;
    std::string message;
  };
  const Case kCases[] = {
      {[&] { return api.vob_create_object("Other.Class", &created); }, VOB_E_CLASSNOTREG,
       "class not registered: \"Other.Class\""},
      {[&] { return api.vob_create_object(nullptr, &created); }, VOB_E_CLASSNOTREG,
       "class not registered: NULL"},
      {[&] { return api.vob_create_object("ab\xC0\xA3", &created); }, VOB_E_CLASSNOTREG,
       "class not registered: \"ab\xEF\xBF\xBD\xEF\xBF\xBD\""},
      {[&] { return api.vob_create_object(long_id.c_str(), &created); }, VOB_E_CLASSNOTREG,
       "class not registered: \"\xEF\xBF\xBD" + std::string(61, 'x') + "...\" (1048576 bytes)"},
      {[&] { return api.vob_create_object("VOBADOReports2.rptManager", nullptr); }, VOB_E_POINTER,
       "vob_create_object: object is NULL"},
      {[&] { return api.vob_manager_reset(nullptr); }, VOB_E_POINTER, "vob_manager_reset: manager is NULL"},
      {[&] { return api.vob_manager_reset(report); }, VOB_E_NOINTERFACE,
       "vob_manager_reset: the object is a report, not a manager"},
      {[&] { return api.vob_manager_get_report(manager, "araging", nullptr); }, VOB_E_POINTER,
       "vob_manager_get_report: report is NULL"},
      {[&] { return api.vob_manager_set_rept_param(manager, -1, "x"); }, static_cast<vob_result>(0x800A0009),
       "Subscript out of range: SetReptParam(-1)"},
      {[&] { return api.vob_report_run_to_file(manager, "out.pdf"); }, VOB_E_NOINTERFACE,
       "vob_report_run_to_file: the object is a manager, not a report"},
      {[&] { return api.vob_report_run_to_file(report, nullptr); }, VOB_E_POINTER,
       "vob_report_run_to_file: path is NULL"},
      {[&] { return api.vob_report_run_to_file(report, "out.doc"); }, VOB_E_OUTPUT,
       "unknown output type for out.doc: expected .pdf, .png, .svg, .txt, .json, .csv, .xlsx or - for "
       "standard output"},
      {[&] { return api.vob_report_run_to_pdf_bytes(report, nullptr, &size); }, VOB_E_POINTER,
       "vob_report_run_to_pdf_bytes: bytes is NULL"},
      {[&] { return api.vob_report_run_to_pdf_bytes(nullptr, &bytes, &size); }, VOB_E_POINTER,
       "vob_report_run_to_pdf_bytes: report is NULL"},
      {[&] { return api.vob_report_page_count(report, &pages); }, VOB_E_FAIL,
       "vob_report_page_count: report \"araging\" has no finished run"},
  };
  for (const Case& c : kCases) {
    ASSERT_EQ(api.vob_manager_set_rept_param(manager, 9, "x"), VOB_OK);
    EXPECT_STREQ(api.vob_last_error(), "");
    ASSERT_EQ(api.vob_create_object("Earlier.Failure", &created), VOB_E_CLASSNOTREG);
    EXPECT_EQ(c.call(), c.result) << c.message;
    EXPECT_EQ(api.vob_last_error(), c.message);
    EXPECT_EQ(created, nullptr) << c.message;
  }
  api.vob_release(report);
  api.vob_release(manager);
}

// The same settings give the same message as `vobreports run` prints, and no output file.
TEST_F(CApiTest, RunErrorsReadAsTheCommandLinePrintsThem) {
  Api& api = *api_;
  vob_object* manager = NewManager();
  ASSERT_EQ(api.vob_manager_set_rept_param(manager, 1, "AC'ME"), VOB_OK);
  vob_object* report = GetReport(manager, "ARAGING");
  const std::filesystem::path output = directory_ / "failed" / "araging.pdf";
  std::filesystem::create_directories(output.parent_path());

  EXPECT_EQ(api.vob_report_run_to_file(report, output.c_str()), VOB_E_SQL);
  const auto printed = RunCommand(Vobreports() + "run araging --param \"1=AC'ME\" --db " + Database() +
                                  " -o " + output.string() + " 2>&1");
  EXPECT_EQ(printed.exit_code, 1);
  EXPECT_EQ("vobreports: " + std::string(api.vob_last_error()) + "\n", printed.output);
  EXPECT_NE(printed.output.find("rptARAging, dataMain: "), std::string::npos);
  EXPECT_NE(printed.output.find("'AC'ME'"), std::string::npos);
  EXPECT_TRUE(std::filesystem::is_empty(output.parent_path()));
  int32_t pages = -1;
  EXPECT_EQ(api.vob_report_page_count(report, &pages), VOB_E_FAIL);
  api.vob_release(report);
  api.vob_release(manager);
}

TEST_F(CApiTest, WritesEachOutputAsTheCommandLineDoes) {
  Api& api = *api_;
  vob_object* manager = NewManager();
  ASSERT_EQ(api.vob_manager_set_title(manager, "Chart of Accounts"), VOB_OK);
  // A new report object for each output: one that runs again keeps its own variables (its row shading).
  for (const char* extension : {".txt", ".json"}) {
    vob_object* report = GetReport(manager, "chaccts");
    const std::filesystem::path ours = directory_ / (std::string("host") + extension);
    const std::filesystem::path theirs = directory_ / (std::string("cli") + extension);
    ASSERT_EQ(api.vob_report_run_to_file(report, ours.c_str()), VOB_OK) << api.vob_last_error();
    ASSERT_EQ(
        RunCommand(Vobreports() + "run chaccts --db " + Database() + " -o " + theirs.string()).exit_code, 0);
    EXPECT_EQ(WithoutRunTime(ReadFile(ours)), WithoutRunTime(ReadFile(theirs))) << extension;
    int32_t pages = 0;
    EXPECT_EQ(api.vob_report_page_count(report, &pages), VOB_OK);
    EXPECT_EQ(pages, 5);
    api.vob_release(report);
  }

  api.vob_release(manager);
}

// A print request the library cannot take fails before the report runs, so these need no CUPS server.
TEST_F(CApiTest, PrintRefusesABadRequestBeforeRunning) {
  Api& api = *api_;
  vob_object* manager = NewManager();
  vob_object* report = GetReport(manager, "araging");
  int32_t job_id = 7;
  struct Case {
    vob_object* object;
    const char* options;
    int32_t* job_id;
    vob_result result;
    const char* message;
  };
  const Case kCases[] = {
      {report, nullptr, nullptr, VOB_E_POINTER, "vob_report_print: job_id is NULL"},
      {nullptr, nullptr, &job_id, VOB_E_POINTER, "vob_report_print: report is NULL"},
      {manager, nullptr, &job_id, VOB_E_NOINTERFACE,
       "vob_report_print: the object is a manager, not a report"},
      {report, "copies=0", &job_id, VOB_E_MISUSE, "copies 0 is not a number of copies (1 or more)"},
      {report, "copies=2;duplex=yes", &job_id, VOB_E_MISUSE,
       "unknown print option \"duplex\" (copies, sides, pages, printer, wait)"},
  };
  for (const Case& c : kCases) {
    EXPECT_EQ(api.vob_report_print(c.object, "", c.options, c.job_id), c.result) << c.message;
    EXPECT_STREQ(api.vob_last_error(), c.message);
    EXPECT_EQ(job_id, c.job_id != nullptr ? 0 : 7) << c.message;
    int32_t pages = 0;
    EXPECT_EQ(api.vob_report_page_count(report, &pages), VOB_E_FAIL) << "the report ran: " << c.message;
    job_id = 7;
  }
  api.vob_release(report);
  api.vob_release(manager);
}

TEST_F(CApiTest, ExportsOnlyTheCInterface) {
  // Names without their version node; an unversioned export drops out, so the list no longer matches.
  const auto symbols = RunCommand("nm -D --defined-only " + kLibrary +
                                  " | awk '$2 != \"A\" {print $3}' | sed -n 's/@@VOB_[0-9.]*$//p' | sort");
  ASSERT_EQ(symbols.exit_code, 0);
  EXPECT_EQ(symbols.output,
            "vob_create_object\nvob_free_bytes\nvob_last_error\nvob_manager_get_report\nvob_manager_reset\n"
            "vob_manager_set_currency_format\nvob_manager_set_data_source\nvob_manager_set_date_format\n"
            "vob_manager_set_drill_down_params\nvob_manager_set_logo_props\nvob_manager_set_now\n"
            "vob_manager_set_price_fmt\nvob_manager_set_rept_param\nvob_manager_set_title\nvob_release\n"
            "vob_release_checked\nvob_report_cancel\nvob_report_page_count\nvob_report_print\nvob_report_run_"
            "to_file\n"
            "vob_report_run_to_pdf_bytes\nvob_report_set_progress\nvob_server_info\nvob_version\n");
  EXPECT_STREQ(api_->vob_version(), VOB_VERSION);
  EXPECT_EQ(RunCommand(Vobreports() + "--version").output, "vobreports " VOB_VERSION "\n");
}

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VOB_ADDRESS_SANITIZER 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define VOB_ADDRESS_SANITIZER 1
#endif

// A host under a memory limit gets a result code, not an abort, when the library cannot allocate.
TEST_F(CApiTest, OutOfMemoryIsAResultNotAnAbort) {
#ifdef VOB_ADDRESS_SANITIZER
  GTEST_SKIP() << "the sanitizer's allocator reports exhaustion itself";
#else
  Api& api = *api_;
  const std::string id(128 << 20, 'x');  // the library copies it while it looks the class up
  const auto create_under_limit = [&] {
    long pages = 0;
    std::ifstream("/proc/self/statm") >> pages;
    const auto limit = static_cast<rlim_t>(pages) * static_cast<rlim_t>(sysconf(_SC_PAGESIZE)) + (64 << 20);
    const rlimit address_space = {limit, limit};
    setrlimit(RLIMIT_AS, &address_space);
    vob_object* object = nullptr;
    const vob_result result = api.vob_create_object(id.c_str(), &object);
    std::fprintf(stderr, "%x %s", static_cast<unsigned>(result), api.vob_last_error());
    std::_Exit(0);
  };
  EXPECT_EXIT(create_under_limit(), ::testing::ExitedWithCode(0),
              "^8007000e vob_create_object: out of memory$");
#endif
}

// A careless host gets VOB_E_MISUSE for a handle that is not live, and the process goes on.
TEST_F(CApiTest, HandlesThatAreNotLiveAreMisuseNotACrash) {
  Api& api = *api_;
  vob_object* manager = NewManager();
  vob_object* released = GetReport(manager, "chaccts");
  ASSERT_EQ(api.vob_release_checked(released), VOB_OK);
  int on_the_stack = 0;
  vob_object* const kNotLive[] = {released, reinterpret_cast<vob_object*>(&on_the_stack),
                                  reinterpret_cast<vob_object*>(0x10), reinterpret_cast<vob_object*>(~0ull)};
  int32_t pages = 7;
  unsigned char* bytes = reinterpret_cast<unsigned char*>(&on_the_stack);
  size_t size = 7;
  vob_object* got = released;
  const std::function<vob_result(vob_object*)> kCalls[] = {
      [&](vob_object* o) { return api.vob_release_checked(o); },
      [&](vob_object* o) { return api.vob_manager_reset(o); },
      [&](vob_object* o) { return api.vob_manager_set_now(o, "2024-06-30"); },
      [&](vob_object* o) { return api.vob_manager_get_report(o, "chaccts", &got); },
      [&](vob_object* o) { return api.vob_report_run_to_file(o, (directory_ / "stray.pdf").c_str()); },
      [&](vob_object* o) { return api.vob_report_run_to_pdf_bytes(o, &bytes, &size); },
      [&](vob_object* o) { return api.vob_report_page_count(o, &pages); },
      [&](vob_object* o) { return api.vob_report_set_progress(o, nullptr, nullptr); },
      [&](vob_object* o) { return api.vob_report_cancel(o); },
  };
  for (vob_object* object : kNotLive) {
    for (size_t call = 0; call < std::size(kCalls); ++call) {
      EXPECT_EQ(kCalls[call](object), VOB_E_MISUSE) << "call " << call << ", object " << object;
      EXPECT_NE(std::string(api.vob_last_error()).find("is not a live object of this library"),
                std::string::npos);
    }
    api.vob_release(object);
    EXPECT_NE(std::string(api.vob_last_error()), "");
  }
  // Every out-parameter given is reset, even when another one is missing.
  EXPECT_EQ(got, nullptr);
  EXPECT_EQ(bytes, nullptr);
  EXPECT_EQ(size, 0u);
  EXPECT_EQ(pages, 0);
  bytes = reinterpret_cast<unsigned char*>(&on_the_stack);
  size = 7;
  EXPECT_EQ(api.vob_report_run_to_pdf_bytes(released, &bytes, nullptr), VOB_E_POINTER);
  EXPECT_EQ(api.vob_report_run_to_pdf_bytes(released, nullptr, &size), VOB_E_POINTER);
  EXPECT_EQ(bytes, nullptr);
  EXPECT_EQ(size, 0u);
  EXPECT_FALSE(std::filesystem::exists(directory_ / "stray.pdf"));
  EXPECT_EQ(api.vob_release_checked(manager), VOB_OK);
  EXPECT_STREQ(api.vob_last_error(), "");
}

// Each kind of failure a host acts on has its own code.
TEST_F(CApiTest, FailuresHaveCodesAHostCanActOn) {
  Api& api = *api_;
  vob_object* manager = NewManager();
  struct Case {
    const char* name;
    std::string data_source;
    std::string param1;
    std::string output;
    vob_result result;
  };
  const std::string good = "Provider=SQLite;Data Source=" + Database() + ";";
  const Case kCases[] = {
      {"missing file", "Provider=SQLite;Data Source=" + (directory_ / "none.sqlite").string() + ";", "",
       "db.pdf", VOB_E_DATABASE},
      {"no provider", "Data Source=x;", "", "db.pdf", VOB_E_DATABASE},
      {"no server", "Provider=PostgreSQL;Host=" + (directory_ / "no-socket").string() + ";Database=books", "",
       "db.pdf", VOB_E_DATABASE},
      {"quote in a parameter", good, "AC'ME", "sql.pdf", VOB_E_SQL},
      {"folder missing", good, "", "no/such/folder/out.pdf", VOB_E_OUTPUT},
      {"bad time", good, "", "clock.pdf", static_cast<vob_result>(0x800A0005)},
  };
  for (const Case& c : kCases) {
    ASSERT_EQ(api.vob_manager_set_data_source(manager, c.data_source.c_str()), VOB_OK);
    ASSERT_EQ(api.vob_manager_set_rept_param(manager, 1, c.param1.c_str()), VOB_OK);
    if (c.result == static_cast<vob_result>(0x800A0005)) {
      EXPECT_EQ(api.vob_manager_set_now(manager, "2024-06-31"), c.result) << c.name;
      continue;
    }
    vob_object* report = GetReport(manager, "araging");
    const std::filesystem::path output = directory_ / c.output;
    EXPECT_EQ(api.vob_report_run_to_file(report, output.c_str()), c.result)
        << c.name << ": " << api.vob_last_error();
    EXPECT_FALSE(std::filesystem::exists(output)) << c.name;
    api.vob_release(report);
  }
  vob_object* report = reinterpret_cast<vob_object*>(1);
  EXPECT_EQ(api.vob_manager_get_report(manager, "NoSuchKey", &report), VOB_OK);
  EXPECT_EQ(report, nullptr);
  EXPECT_STREQ(api.vob_last_error(),
               "vob_manager_get_report: no report has the key \"NoSuchKey\" (see `vobreports keys`)");
  api.vob_release(manager);
}

// With the clock pinned, a host's aging is the file `vobreports run --today` writes, byte for byte, whether
// written to a file or handed over as bytes; and the same report object runs again.
TEST_F(CApiTest, PinnedClockGivesTheCommandLinesBytes) {
  Api& api = *api_;
  vob_object* manager = NewManager();
  ASSERT_EQ(api.vob_manager_set_title(manager, "Accounts Receivable Aging"), VOB_OK);
  ASSERT_EQ(api.vob_manager_set_now(manager, "2024-06-30"), VOB_OK);
  ASSERT_EQ(api.vob_manager_reset(manager), VOB_OK);  // keeps the clock
  ASSERT_EQ(api.vob_manager_set_title(manager, "Accounts Receivable Aging"), VOB_OK);
  vob_object* report = GetReport(manager, "araging");
  const std::filesystem::path ours = directory_ / "host-araging.pdf";
  const std::filesystem::path theirs = directory_ / "cli-araging.pdf";
  ASSERT_EQ(api.vob_report_run_to_file(report, ours.c_str()), VOB_OK) << api.vob_last_error();
  ASSERT_EQ(RunCommand(Vobreports() + "run araging --today 2024-06-30 --db " + Database() + " -o " +
                       theirs.string())
                .exit_code,
            0);
  const std::string file = ReadFile(theirs);
  EXPECT_EQ(ReadFile(ours), file);
  unsigned char* bytes = nullptr;
  size_t size = 0;
  ASSERT_EQ(api.vob_report_run_to_pdf_bytes(report, &bytes, &size), VOB_OK) << api.vob_last_error();
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes), size), file);
  api.vob_free_bytes(bytes);
  api.vob_release(report);
  api.vob_release(manager);
}

// Reports that once failed a second run, and a data source without its final ";" or as a bare path.
TEST_F(CApiTest, ReportsRunAgainOnAnyFormOfTheDataSource) {
  Api& api = *api_;
  vob_object* manager = NewManager();
  for (const std::string& source : {"Provider=SQLite;Data Source=" + Database(), Database()}) {
    ASSERT_EQ(api.vob_manager_set_data_source(manager, source.c_str()), VOB_OK);
    struct Case {
      const char* key;
      const char* param1;
      const char* param2;
    };
    for (const Case& c : {Case{"customer", "ASHLEY0012", "1"}, Case{"vendor", "OAKMON0019", "1"},
                          Case{"venpayments", "04/01/2024", "06/30/2024"}}) {
      ASSERT_EQ(api.vob_manager_set_rept_param(manager, 1, c.param1), VOB_OK);
      ASSERT_EQ(api.vob_manager_set_rept_param(manager, 2, c.param2), VOB_OK);
      vob_object* report = GetReport(manager, c.key);
      std::string first_run;
      for (int run = 1; run <= 2; ++run) {
        const std::filesystem::path output = directory_ / (std::string(c.key) + ".txt");
        EXPECT_EQ(api.vob_report_run_to_file(report, output.c_str()), VOB_OK)
            << source << ", " << c.key << ", run " << run << ": " << api.vob_last_error();
        if (run == 1) {
          first_run = WithoutRunTime(ReadFile(output));
        } else {
          EXPECT_EQ(WithoutRunTime(ReadFile(output)), first_run) << c.key << " ran differently again";
        }
      }
      api.vob_release(report);
    }
  }
  api.vob_release(manager);
}

// Progress arrives on the running thread, first with page 1 and last with the page count; a cancel from a
// second thread, or from the callback, stops the run with no file, and the report runs again afterwards.
TEST_F(CApiTest, ProgressAndCancel) {
  Api& api = *api_;
  vob_object* manager = NewManager();
  vob_object* report = GetReport(manager, "backordcust");
  struct Progress {
    std::vector<int32_t> counts;
    std::thread::id thread;
    std::function<void(int32_t)> on_call;
  } progress;
  const vob_progress_fn record = [](void* data, int32_t pages) {
    auto& p = *static_cast<Progress*>(data);
    p.counts.push_back(pages);
    p.thread = std::this_thread::get_id();
    if (p.on_call) p.on_call(pages);
  };
  ASSERT_EQ(api.vob_report_set_progress(report, record, &progress), VOB_OK);
  const std::filesystem::path output = directory_ / "backordcust.pdf";

  ASSERT_EQ(api.vob_report_run_to_file(report, output.c_str()), VOB_OK) << api.vob_last_error();
  int32_t pages = 0;
  ASSERT_EQ(api.vob_report_page_count(report, &pages), VOB_OK);
  ASSERT_GE(progress.counts.size(), 2u);
  EXPECT_EQ(progress.counts.front(), 1);
  EXPECT_EQ(progress.counts.back(), pages);
  EXPECT_TRUE(std::is_sorted(progress.counts.begin(), progress.counts.end()));
  EXPECT_EQ(progress.thread, std::this_thread::get_id());
  std::filesystem::remove(output);

  // From a second thread: the callback waits until the cancel has been made, so the run cannot end first.
  std::mutex mutex;
  std::condition_variable changed;
  bool has_started = false, has_cancelled = false;
  std::thread canceller([&] {
    std::unique_lock lock(mutex);
    changed.wait(lock, [&] { return has_started; });
    EXPECT_EQ(api.vob_report_cancel(report), VOB_OK);
    has_cancelled = true;
    changed.notify_all();
  });
  progress.on_call = [&](int32_t) {
    std::unique_lock lock(mutex);
    has_started = true;
    changed.notify_all();
    changed.wait(lock, [&] { return has_cancelled; });
  };
  EXPECT_EQ(api.vob_report_run_to_file(report, output.c_str()), VOB_E_CANCELLED);
  canceller.join();
  EXPECT_FALSE(std::filesystem::exists(output));
  EXPECT_EQ(api.vob_report_page_count(report, &pages), VOB_E_FAIL);

  // From the callback itself, into bytes.
  progress.on_call = [&](int32_t) { api.vob_report_cancel(report); };
  unsigned char* bytes = reinterpret_cast<unsigned char*>(&pages);
  size_t size = 1;
  EXPECT_EQ(api.vob_report_run_to_pdf_bytes(report, &bytes, &size), VOB_E_CANCELLED);
  EXPECT_EQ(bytes, nullptr);
  EXPECT_EQ(size, 0u);

  // The running report refuses a second run and a new callback, and its run goes on.
  vob_result nested_run = VOB_OK, nested_progress = VOB_OK;
  progress.on_call = [&](int32_t) {
    nested_run = api.vob_report_run_to_file(report, (directory_ / "nested.pdf").c_str());
    nested_progress = api.vob_report_set_progress(report, nullptr, nullptr);
  };
  EXPECT_EQ(api.vob_report_run_to_file(report, output.c_str()), VOB_OK) << api.vob_last_error();
  EXPECT_EQ(nested_run, VOB_E_MISUSE);
  EXPECT_EQ(nested_progress, VOB_E_MISUSE);
  EXPECT_FALSE(std::filesystem::exists(directory_ / "nested.pdf"));
  std::filesystem::remove(output);

  // A cancel outside a run is forgotten: the next run completes.
  progress.on_call = nullptr;
  ASSERT_EQ(api.vob_report_cancel(report), VOB_OK);
  EXPECT_EQ(api.vob_report_run_to_file(report, output.c_str()), VOB_OK) << api.vob_last_error();
  EXPECT_TRUE(std::filesystem::exists(output));
  api.vob_release(report);
  api.vob_release(manager);
}

}  // namespace
