#pragma once

#include <QAbstractButton>
#include <QComboBox>
#include <QListWidget>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

namespace tarmela::test
{

// The child control of that object name; fails the test when there is none.
template <typename T> T* child(QWidget* w, const char* name)
{
    T* c = w->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(c, nullptr) << name;
    return c;
}

// A mouse click on the named button (or check box, near its box).
inline void click(QWidget* w, const char* button)
{
    auto* b = child<QAbstractButton>(w, button);
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(8, b->height() / 2));
}

// The texts a list or a combo box offers, in order.
inline QStringList entries(QListWidget* list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}
inline QStringList entries(QComboBox* box)
{
    QStringList out;
    for (int i = 0; i < box->count(); ++i)
        out << box->itemText(i);
    return out;
}

} // namespace tarmela::test
