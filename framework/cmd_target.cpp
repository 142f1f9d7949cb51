#include "cmd_target.h"

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap()
{
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, nullptr}};
    static const AFX_MSGMAP map{nullptr, entries};
    return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const
{
    return GetThisMessageMap();
}

bool CCmdTarget::OnCmdMsg(UINT message, UINT code, UINT id, AFX_MSG& msg)
{
    for (const AFX_MSGMAP* map = GetMessageMap(); map; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e->message != 0; ++e) {
            if (e->message != message)
                continue;
            bool matchesCode = (message != WM_COMMAND && message != WM_NOTIFY) || e->code == code;
            bool matchesId = e->id == kAnyId || e->id == id;
            if (matchesCode && matchesId) {
                e->pfn(this, msg);
                return true;
            }
        }
    }
    return false;
}
