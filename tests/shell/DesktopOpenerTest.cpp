#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "shell/DesktopOpener.h"
#include "shell/HeadlessDriver.h"
#include "shell/LinkedRenderer.h"
#include "shell/support/MervikProcess.h"
#include "ui/AlertView.h"
#include "ui/Log.h"

namespace {

const std::string kMail = "mailto:support@mervik.app?subject=Mervik%20v%201.4%20BETA";

// Runs with PATH holding only the given fake openers (shell scripts that end
// with the given status) and a log of their arguments.
class DesktopOpenerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ui::DiagnosticLog::shared().setEchoToStandardError(false);
        const char* path = std::getenv("PATH");
        savedPath_ = path ? path : "";
        ::setenv("PATH", bin.path().c_str(), 1);
    }
    void TearDown() override {
        ::setenv("PATH", savedPath_.c_str(), 1);
        ui::DiagnosticLog::shared().setEchoToStandardError(true);
    }
    void fakeOpener(const std::string& name, int status) {
        const auto file = bin.path() / name;
        std::ofstream(file) << "#!/bin/sh\necho \"" << name << " $1\" >> '" << (bin.path() / "calls").string()
                            << "'\nexit " << status << "\n";
        ::chmod(file.c_str(), 0755);
    }
    std::string calls() { return bin.read("calls"); }
    // Opens the mail URL and waits for the opener to end; returns the alert's message, or "" for none.
    std::string openMail() {
        shell::DesktopOpener opener([this](const std::string& text) {
            copied = text;
            return true;
        });
        if (opener.open(kMail))
            while (opener.isRunning()) {
                ::usleep(10'000);
                opener.checkFinished();
            }
        ui::AlertView* alert = ui::AlertView::visibleAlert();
        return alert ? alert->message() : "";
    }

    ScratchFolder settings, bin;
    std::ostringstream out, err;
    shell::HeadlessDriver driver{std::make_unique<shell::LinkedRenderer>(), settings.path(), 1, out, err};
    std::string copied;

private:
    std::string savedPath_;
};

// Checks that a mail client that opens shows nothing more.
TEST_F(DesktopOpenerTest, OpenerThatWorks) {
    fakeOpener("xdg-email", 0);
    fakeOpener("xdg-open", 0);
    EXPECT_EQ(openMail(), "");
    EXPECT_EQ(calls(), "xdg-email " + kMail + "\n");
    EXPECT_EQ(copied, "");
}

// Checks that an xdg-email the system could not run (status 127) gives way to xdg-open.
TEST_F(DesktopOpenerTest, MailOpenerNotFoundFallsBack) {
    fakeOpener("xdg-email", 127);
    fakeOpener("xdg-open", 0);
    EXPECT_EQ(openMail(), "");
    EXPECT_EQ(calls(), "xdg-email " + kMail + "\nxdg-open " + kMail + "\n");
}

// Checks that a failing xdg-email, or none and a failing xdg-open, or no opener at
// all, end in the alert, the address copied to the clipboard.
TEST_F(DesktopOpenerTest, FailureShowsTheAddressCopied) {
    const std::string message = "No mail program opened. The address support@mervik.app was copied to the clipboard.";
    fakeOpener("xdg-email", 3);
    EXPECT_EQ(openMail(), message);
    EXPECT_EQ(copied, "support@mervik.app");
    ui::AlertView::visibleAlert()->dismiss();
    ::unlink((bin.path() / "xdg-email").c_str());
    fakeOpener("xdg-open", 4);
    copied.clear();
    EXPECT_EQ(openMail(), message);
    EXPECT_EQ(copied, "support@mervik.app");
    EXPECT_EQ(calls(), "xdg-email " + kMail + "\nxdg-open " + kMail + "\n");
    ui::AlertView::visibleAlert()->dismiss();
    ::unlink((bin.path() / "xdg-open").c_str());
    EXPECT_EQ(openMail(), message);
}

}  // namespace
