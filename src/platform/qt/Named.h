// Gives a component its name once, as its object name, where it is created:
// `Image1 = named(new ViewImage(...), "Image1");`
#pragma once

#include <QString>

namespace zelkova::platform {

template <typename T> T* named(T* object, const char* name) {
    object->setObjectName(QString::fromLatin1(name));
    return object;
}

} // namespace zelkova::platform
