#include "platform/dispatch/InProcServer.h"
#include "platform/forms/RuntimeError.h"
#include "platform/registry/Registry.h"
#include "tests/support/ErrorNumber.h"

#include <QProcess>
#include <gtest/gtest.h>

using dispatch::Variant;

namespace {

const QString ServerPath = QStringLiteral(TESSEL_BINARY_DIR "/bin/libtessel_test_server.so");
const QString RegSvr = QStringLiteral(TESSEL_BINARY_DIR "/bin/tessel-regsvr");

} // namespace

TEST(DispatchVariant, ConvertsAsThePlatformDoes)
{
    EXPECT_EQ(Variant(QStringLiteral(" 12 ")).ToInteger(), 12);
    EXPECT_EQ(Variant(2.5).ToInteger(), 2); // half to even
    EXPECT_EQ(Variant(3.5).ToLong(), 4);
    EXPECT_EQ(Variant(true).ToInteger(), -1);
    EXPECT_EQ(Variant().ToLong(), 0);
    EXPECT_EQ(Variant(QStringLiteral("True")).ToBool(), true);
    EXPECT_EQ(Variant(std::int16_t(7)).ToString(), QStringLiteral("7"));
    EXPECT_EQ(Variant(false).ToString(), QStringLiteral("False"));
    EXPECT_EQ(ErrorNumber([] { Variant(QStringLiteral("abc")).ToInteger(); }), forms::Err::TypeMismatch);
    EXPECT_EQ(ErrorNumber([] { Variant(QString()).ToLong(); }), forms::Err::TypeMismatch);
    EXPECT_EQ(ErrorNumber([] { Variant(QStringLiteral("70000")).ToInteger(); }), forms::Err::Overflow);
    EXPECT_EQ(ErrorNumber([] { Variant(3e10).ToLong(); }), forms::Err::Overflow);
}

TEST(DispatchServer, RegisteredWithTheToolItIsCreatedByProgIdAndErrorsCrossBack)
{
    EXPECT_EQ(ErrorNumber([] { dispatch::CreateObject(QStringLiteral("Tessel.TestObject")); }), 429);

    ASSERT_EQ(QProcess::execute(RegSvr, {ServerPath}), 0);
    EXPECT_EQ(registry::QueryValue(registry::HKEY_CLASSES_ROOT,
                  QStringLiteral("CLSID\\{5A0C1D2E-0000-4000-8000-00000000A001}\\InprocServer32"), {}),
        ServerPath);

    auto object = dispatch::CreateObject(QStringLiteral("Tessel.TestObject"));
    ASSERT_TRUE(object);
    object->Put(1, QStringLiteral("41"));
    EXPECT_EQ(object->Get(1), Variant(std::int16_t(41)));
    std::vector<Variant> args {std::int32_t(21)};
    object->Invoke(2, dispatch::Invocation::Method, args);
    EXPECT_EQ(args[0], Variant(std::int32_t(42)));

    try {
        object->Call(3);
        FAIL() << "no error crossed";
    } catch (const forms::RuntimeError& e) {
        EXPECT_EQ(e.Number(), 0x4242);
        EXPECT_EQ(e.Source(), QStringLiteral("TestObject"));
        EXPECT_EQ(e.Description(), QStringLiteral("raised inside"));
    }
    EXPECT_EQ(ErrorNumber([&] { object->Call(99); }), 438);
    EXPECT_EQ(ErrorNumber([&] { object->Put(1, QStringLiteral("x")); }), forms::Err::TypeMismatch);

    ASSERT_EQ(QProcess::execute(RegSvr, {QStringLiteral("-u"), ServerPath}), 0);
    EXPECT_EQ(ErrorNumber([] { dispatch::CreateObject(QStringLiteral("Tessel.TestObject")); }), 429);
    EXPECT_NE(QProcess::execute(RegSvr, {QStringLiteral("/no/such/library.so")}), 0);
}
