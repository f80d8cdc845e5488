#pragma once

#include <QCursor>
#include <QGuiApplication>

namespace tarmela
{

// Shows the busy pointer for the life of the guard, so that every way out of a long
// operation (an error included) puts the normal pointer back.
class BusyCursor
{
public:
    BusyCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

} // namespace tarmela
