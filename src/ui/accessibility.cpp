// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "accessibility.h"

#include <QAccessibleWidget>
#include <QVariant>
#include <QWidget>

#include "modes.h"
#include "picture_box.h"

namespace pokopin::ui {

namespace {

// The box's role and children, kept on the box itself so that they live and
// die with it.
constexpr const char* kRoleProperty = "pokopinAccessibleRole";
constexpr const char* kChildrenProperty = "pokopinAccessibleChildren";

QString fromStd(const std::string& text)
{
    return QString::fromStdString(text);
}

QString holeWord(game::Hole hole)
{
    switch (hole) {
        case game::Hole::Empty:
            return QStringLiteral("空");
        case game::Hole::Mole:
            return QStringLiteral("もぐら");
        case game::Hole::Whacked:
            return QStringLiteral("ヒット");
        case game::Hole::Miss:
            return QStringLiteral("ミス");
    }
    return {};
}

// A box that lists only the children it was given.
class ListedChildren : public QAccessibleWidget {
public:
    ListedChildren(QWidget* box, QAccessible::Role role) : QAccessibleWidget(box, role) {}

    int childCount() const override { return static_cast<int>(listed().size()); }

    QAccessibleInterface* child(int index) const override
    {
        const QList<QWidget*> children = listed();
        if (index < 0 || index >= children.size())
            return nullptr;
        return QAccessible::queryAccessibleInterface(children.at(index));
    }

    int indexOfChild(const QAccessibleInterface* child) const override
    {
        if (!child)
            return -1;
        return static_cast<int>(listed().indexOf(qobject_cast<QWidget*>(child->object())));
    }

private:
    QList<QWidget*> listed() const
    {
        QList<QWidget*> out;
        const QStringList names = widget()->property(kChildrenProperty).toStringList();
        for (const QString& name : names)
            if (auto* w = widget()->findChild<QWidget*>(name))
                out.append(w);
        return out;
    }
};

// A hole is whacked by a click; an assistive tool presses it instead.
class HoleAccessible : public QAccessibleWidget {
public:
    explicit HoleAccessible(HoleBox* hole) : QAccessibleWidget(hole, QAccessible::Button) {}

    QStringList actionNames() const override { return {pressAction()}; }

    void doAction(const QString& name) override
    {
        if (name != pressAction())
            return;
        auto* hole = static_cast<HoleBox*>(widget());
        emit hole->clicked(hole->index());
    }
};

QAccessibleInterface* makeInterface(const QString& className, QObject* object)
{
    auto* widget = qobject_cast<QWidget*>(object);
    if (!widget)
        return nullptr;
    Q_UNUSED(className);  // the first call, for the most derived class, decides
    if (auto* hole = qobject_cast<HoleBox*>(widget))
        return new HoleAccessible(hole);
    const QVariant role = widget->property(kRoleProperty);
    if (role.isValid())
        return new ListedChildren(widget, static_cast<QAccessible::Role>(role.toInt()));
    return nullptr;
}

}  // namespace

AccessibleNames accessibleNames(const game::WindowView& view)
{
    AccessibleNames names;
    for (int i = 0; i < game::kHoles; ++i)
        names.holes[static_cast<std::size_t>(i)] =
            QStringLiteral("穴 %1: %2")
                .arg(i + 1)
                .arg(holeWord(view.holes[static_cast<std::size_t>(i)]));
    names.moleCount = QStringLiteral("COUNT ") + fromStd(view.moleCountText);
    names.hitCount = QStringLiteral("HIT ") + fromStd(view.hitCountText);
    names.missCount = QStringLiteral("MISS ") + fromStd(view.missCountText);
    names.score = QStringLiteral("SCORE ") + fromStd(view.scoreText);
    names.clock = QStringLiteral("TIME %1 sec").arg(fromStd(view.clockText));
    names.mode = QStringLiteral("GAME LEVEL");
    if (view.panelMode >= 0 && view.panelMode < static_cast<int>(game::kModes.size())) {
        const std::string_view mode = game::kModes[static_cast<std::size_t>(view.panelMode)].name;
        names.mode +=
            QLatin1Char(' ') + QString::fromUtf8(mode.data(), static_cast<qsizetype>(mode.size()));
    }
    return names;
}

void installAccessibleInterfaces()
{
    static const bool installed = [] {
        QAccessible::installFactory(makeInterface);
        return true;
    }();
    (void)installed;
}

void showAccessibleChildren(QWidget* box, QAccessible::Role role, const QString& name,
                            const QList<QWidget*>& children)
{
    // By name rather than by pointer: nothing dangles while the box and its
    // children are being destroyed.
    QStringList names;
    for (const QWidget* w : children)
        names.append(w->objectName());
    box->setProperty(kRoleProperty, static_cast<int>(role));
    box->setProperty(kChildrenProperty, names);
    box->setAccessibleName(name);
}

void setAccessibleNameOf(QWidget* widget, const QString& name)
{
    if (widget->accessibleName() != name)
        widget->setAccessibleName(name);
}

void announceNames(const QList<QWidget*>& widgets)
{
    if (!QAccessible::isActive())
        return;
    for (QWidget* w : widgets) {
        QAccessibleEvent event(w, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    }
}

}  // namespace pokopin::ui
