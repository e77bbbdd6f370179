// The error report: the program's fixed text first, the reason of the failure on the next line.
#include "feedback/error_report.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "engine/types.h"
#include "feedback/dialog_service.h"

namespace {

TEST(ErrorReport, TheReasonOfTheFailureBeingHandledFollowsOnTheNextLine) {
    feedback::ScopedScriptedDialogs dialogs;
    const QString source = " Error Source:md_query_functions2.solar_x_kwhm2_or_better()";
    try {
        throw engine::EngineError("SQL Expression Parsing Error: syntax error \n");
    } catch (...) {
        md_functions::ErrorMessage(source, 48);
    }
    // A text that already holds the reason does not repeat it.
    try {
        throw std::runtime_error("disk full");
    } catch (const std::exception& e) {
        md_functions::ErrorMessage("Error while saving. Description: " + QString(e.what()), 48);
    }
    // A failure without words, and a report outside any failure, add nothing.
    try {
        throw 42;
    } catch (...) {
        md_functions::ErrorMessage(source, 48);
    }
    md_functions::ErrorMessage(source, 48);

    ASSERT_EQ(dialogs->shown.size(), 4);
    EXPECT_EQ(dialogs->shown[0].text.toStdString(),
              source.toStdString() + "\nSQL Expression Parsing Error: syntax error");
    EXPECT_EQ(dialogs->shown[1].text.toStdString(), "Error while saving. Description: disk full");
    EXPECT_EQ(dialogs->shown[2].text, source);
    EXPECT_EQ(dialogs->shown[3].text, source);
    for (const auto& shown : dialogs->shown) {
        EXPECT_EQ(shown.icon, feedback::iconWarning);
        EXPECT_EQ(shown.buttons, feedback::mbOKOnly);
    }
}

}  // namespace
