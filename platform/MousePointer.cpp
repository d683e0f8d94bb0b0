#include "platform/MousePointer.h"

#include "platform/Services.h"

namespace platform {

PointerGuard::PointerGuard(PointerShape shape) : m_pointer(mousePointer()) { m_pointer.push(shape); }

PointerGuard::~PointerGuard() { m_pointer.pop(); }

} // namespace platform
