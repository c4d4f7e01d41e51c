#include "platform/forms/Form.h"
#include "platform/forms/MsgBox.h"
#include "tests/support/Patience.h"
#include "tests/support/ScriptedUser.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace forms;

namespace {

class TestForm : public Form {
public:
    std::vector<std::string> events;
    bool refuseUnload = false;

protected:
    void Form_Load() override { events.push_back("Load"); }
    void Form_Unload(int& cancel) override
    {
        events.push_back("Unload");
        if (refuseUnload) cancel = 1;
    }
    void Form_Terminate() override { events.push_back("Terminate"); }
};

class OtherForm : public Form { };

} // namespace

TEST(Form, LoadsOnceAndUnloadCanBeCancelled)
{
    auto& form = Instance<TestForm>();
    EXPECT_EQ(&form, &Instance<TestForm>()) << "one instance per window class";
    form.Show();
    form.Show();
    EXPECT_EQ(form.events, std::vector<std::string> {"Load"});

    form.refuseUnload = true;
    EXPECT_FALSE(form.Unload());
    EXPECT_TRUE(form.isVisible());
    form.refuseUnload = false;

    QPointer<TestForm> alive(&form);
    EXPECT_TRUE(form.Unload());
    EXPECT_EQ(form.events, (std::vector<std::string> {"Load", "Unload", "Unload", "Terminate"}));
    EXPECT_FALSE(Instances::Exists<TestForm>());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(alive.isNull());
    EXPECT_NE(&Instance<TestForm>(), nullptr) << "the next use creates a fresh window";
    Instance<TestForm>().Unload();
}

TEST(Form, ModalShowReturnsWhenTheFormUnloads)
{
    auto& form = Instance<OtherForm>();
    bool wasShown = false;
    QTimer::singleShot(50, [&] {
        wasShown = form.isVisible() && form.isModal();
        form.Unload();
    });
    form.Show(ShowMode::Modal);
    EXPECT_TRUE(wasShown);
    EXPECT_FALSE(Instances::Exists<OtherForm>());
}

TEST(Form, ClientAreaIsMeasuredInTwips)
{
    OtherForm hidden;
    hidden.resize(300, 200);
    EXPECT_EQ(hidden.ScaleWidth(), 4500) << "a window never shown measures its client area too";
    EXPECT_EQ(hidden.Height() - hidden.ScaleHeight(), 0) << "no menu bar, no frame yet";

    OtherForm form;
    form.show();
    form.resize(100, 40);
    EXPECT_TRUE(QTest::qWaitFor([&] { return form.ScaleWidth() == 1500; }, Patience));
    EXPECT_EQ(form.ScaleHeight(), 600);
    form.SetTopmost(true);
    EXPECT_TRUE(form.Topmost());
}

TEST(MsgBox, GoesToTheScriptedUserWithItsStyleAndTitle)
{
    ScriptedUser user;
    user.AnswerBoxes({MsgBoxResult::No});
    EXPECT_EQ(MsgBox("Remove it?", MsgBoxStyle::YesNo + MsgBoxStyle::Question, " Error"), MsgBoxResult::No);
    EXPECT_EQ(MsgBox("Done", MsgBoxStyle::Information), MsgBoxResult::OK);
    ASSERT_EQ(user.Boxes().size(), 2u);
    EXPECT_EQ(user.Boxes()[0].prompt, "Remove it?");
    EXPECT_EQ(user.Boxes()[0].style, 36);
    EXPECT_EQ(user.Boxes()[0].title, " Error");
    EXPECT_EQ(user.Boxes()[1].title, AppTitle());

    user.AnswerInputs({"12"});
    EXPECT_EQ(InputBox("Track?"), "12");
    EXPECT_EQ(InputBox("Again?"), "") << "no answer left cancels";
}
