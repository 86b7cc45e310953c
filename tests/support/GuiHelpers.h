// Helpers of GUI tests: find components by object name, trigger actions, type text.
#pragma once

#include <QAction>
#include <QApplication>
#include <QWidget>

#include <gtest/gtest.h>

namespace zelkova::testing {

void installFontSubstitutions();

// The child of `root` with that object name, failing the test when there is none.
template <typename T> T* child(QObject* root, const char* name) {
    T* found = root->findChild<T*>(QString::fromLatin1(name));
    if (!found)
        ADD_FAILURE() << "no " << name << " under " << root->objectName().toStdString();
    return found;
}

// Triggers the QAction of that name (as a menu click would).
void trigger(QObject* root, const char* actionName);

// Lets queued events (timers at 0, deferred deletes, repaints) run.
void processEvents();

} // namespace zelkova::testing
