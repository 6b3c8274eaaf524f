// main_layout.cpp: the main window's layout arithmetic.
#include "ui/layout/main_layout.h"

namespace quirn {

PixelSize SkinnedWindowSize(PixelSize window, PixelSize client, PixelSize skin, PixelSize notice) {
    return PixelSize{window.width - client.width + skin.width,
                     window.height - client.height + skin.height + notice.height};
}

DetailButtonPictures DetailPicturesFor(bool expanded) {
    if (expanded) {
        return {L"BTN_DETAIL_U2", L"BTN_DETAIL_D", L"BTN_DETAIL_F2", L"BTN_DETAIL_X"};
    }
    return {L"BTN_DETAIL_U", L"BTN_DETAIL_D", L"BTN_DETAIL_F", L"BTN_DETAIL_X"};
}

PanelToggle TogglePanel(bool expanded, bool connection_lost, PixelSize skin, PixelSize panel) {
    if (expanded) {
        return PanelToggle{
            false, false, false, {0, skin.height}, DetailPicturesFor(false), -panel.height,
        };
    }
    return PanelToggle{
        true,
        true,
        connection_lost,
        {0, skin.height + panel.height},
        DetailPicturesFor(true),
        panel.height,
    };
}

PixelPoint MinimisedIconPosition(PixelSize client, PixelSize icon) {
    return PixelPoint{(client.width - icon.width + 1) / 2, (client.height - icon.height + 1) / 2};
}

}  // namespace quirn
