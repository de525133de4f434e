// Late-bound calls on the suite's components: a method found by its name and number of
// arguments, each argument converted to the parameter's type; and the registration command lines
// run for a component that is not registered.

#include <gtest/gtest.h>
#include <QObject>
#include <QSize>
#include <stdexcept>

#include "common/ComponentRegistry.h"
#include "common/Money.h"

namespace si::test {
namespace {

class Viewer : public QObject {
    Q_OBJECT
public:
    Q_INVOKABLE void View(int id) { calls << QStringLiteral("View(%1)").arg(id); }
    Q_INVOKABLE void View(int id, const QString& title) {
        calls << QStringLiteral("View(%1, %2)").arg(id).arg(title);
    }
    Q_INVOKABLE void Total(si::Money value) { calls << value.toString(); }
    Q_INVOKABLE void Any(const QVariant& value) { calls << value.typeName(); }
    Q_INVOKABLE void Refresh() { calls << QStringLiteral("Refresh"); }
    Q_INVOKABLE void Fail(int) { throw std::runtime_error("broken"); }
    QStringList calls;
};

TEST(ComponentRegistry, AMethodIsFoundByItsNameAndNumberOfArguments) {
    Viewer v;
    EXPECT_TRUE(Invoke(v, "View", {7}));
    EXPECT_TRUE(Invoke(v, "View", {QStringLiteral("12"), QStringLiteral("سند")}));
    EXPECT_TRUE(Invoke(v, "Refresh"));
    EXPECT_TRUE(Invoke(v, "Refresh", {}));
    EXPECT_EQ(v.calls, (QStringList{QStringLiteral("View(7)"), QStringLiteral("View(12, سند)"),
                                    QStringLiteral("Refresh"), QStringLiteral("Refresh")}));
}

TEST(ComponentRegistry, ArgumentsTakeTheParametersTypes) {
    Viewer v;
    EXPECT_TRUE(Invoke(v, "Total", {QVariant::fromValue(Money::fromRials(1500))}));
    EXPECT_TRUE(Invoke(v, "Any", {QStringLiteral("x")}));
    EXPECT_TRUE(Invoke(v, "View", {3.0}));
    EXPECT_EQ(v.calls, (QStringList{QStringLiteral("1500"), QStringLiteral("QString"),
                                    QStringLiteral("View(3)")}));
}

TEST(ComponentRegistry, AMissingMethodOrAnArgumentThatDoesNotFitIsNotCalled) {
    Viewer v;
    EXPECT_FALSE(Invoke(v, "Show", {1}));
    EXPECT_FALSE(Invoke(v, "View", {1, 2, 3}));
    EXPECT_FALSE(Invoke(v, "View", {QSize(1, 2)}));
    EXPECT_FALSE(Invoke(v, "Show"));
    EXPECT_TRUE(v.calls.isEmpty());
}

TEST(ComponentRegistry, AnErrorOfTheMethodReachesTheCaller) {
    Viewer v;
    EXPECT_THROW(Invoke(v, "Fail", {1}), std::runtime_error);
}

TEST(ComponentRegistry, RegistrationsAreLoggedAndHandedToTheRegistrar) {
    ComponentRegistry registry;
    registry.runRegistration(QStringLiteral("Regsvr32  \"System\\a.ocx\" /s"));
    EXPECT_FALSE(registry.contains(QStringLiteral("a.b")));
    registry.setRegistrar([&registry](const QString&) {
        registry.add(QStringLiteral("a.b"), [] { return std::make_unique<Viewer>(); });
    });
    registry.runRegistration(QStringLiteral("Regsvr32  \"System\\b.ocx\" /s"));
    EXPECT_TRUE(registry.create(QStringLiteral("A.B")) != nullptr);
    EXPECT_EQ(registry.registrationLog(),
              (QStringList{QStringLiteral("Regsvr32  \"System\\a.ocx\" /s"),
                           QStringLiteral("Regsvr32  \"System\\b.ocx\" /s")}));
}

}  // namespace
}  // namespace si::test

#include "test_component_registry.moc"
