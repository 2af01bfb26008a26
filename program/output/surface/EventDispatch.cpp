#include "EventDispatch.h"

namespace folionix {

void EventDispatch::raise(SurfaceEvent event)
{
    if (!m_handler)
        return;
    switch (event) {
    case SurfaceEvent::NewPage:
        m_handler->NewPage();
        break;
    case SurfaceEvent::EndPage:
        m_handler->EndPage();
        break;
    case SurfaceEvent::NewColumn:
        m_handler->NewColumn();
        break;
    case SurfaceEvent::BeforeHeader:
        m_handler->BeforeHeader();
        break;
    case SurfaceEvent::BeforeFooter:
        m_handler->BeforeFooter();
        break;
    case SurfaceEvent::Error:
        m_handler->Error();
        break;
    }
}

} // namespace folionix
