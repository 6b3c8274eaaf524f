// option_dialog_model.cpp: the settings dialog's rules.
#include "ui/logic/option_dialog_model.h"

#include "res/resource.h"
#include "res/strings.h"
#include "state/stored_password.h"

namespace quirn {

OptionDialogModel::OptionDialogModel(AppSettings& target, bool setPasswordMode, bool reentryMode)
    : target_(target),
      savedSettings_(target),
      setPasswordMode_(setPasswordMode),
      reentryMode_(reentryMode) {}

OptionDialogSetup OptionDialogModel::Setup() const {
    OptionDialogSetup setup;
    setup.user_id = kAdminUserId;
    setup.password = DecodeStoredPassword(target_.connect_rt_pw.value.c_str()).plain;
    setup.address = target_.connect_domain.value;
    const bool password_usable = setup.password.empty() || reentryMode_;
    if (setPasswordMode_) {
        setup.password_enabled = true;
        setup.address_enabled = false;
        setup.focus_control = IDC_PASSWORD;
    } else if (password_usable) {
        setup.password_enabled = true;
        setup.address_enabled = true;
        setup.focus_control = IDC_PASSWORD;
    } else {
        setup.password_enabled = false;
        setup.address_enabled = true;
        setup.focus_control = IDC_ADDRESS;
    }
    return setup;
}

bool OptionDialogModel::Confirm(std::wstring address, const std::wstring& password,
                                MessageBoxes& boxes) {
    if (address.empty()) {
        address = StringText(kRouterHostNameText);
    }
    if (address != savedSettings_.connect_domain.value &&
        boxes.ShowMessage(kAddressChangeConfirmText, MessageButtons::kYesNo,
                          MessageIcon::kQuestion) != MessageAnswer::kYes) {
        return false;
    }
    const EncodedPassword encoded = EncodeStoredPassword(password.c_str());
    encodeResult_ = encoded.result;
    // A password the log-in could not carry is no more use than one that cannot be stored.
    passwordFit_ = CheckAdminPassword(password.c_str());
    const bool usable = encoded.result >= 0 && passwordFit_ == AdminPasswordFit::kFits;
    target_.connect_rt_pw.value = usable ? encoded.stored : std::wstring();
    target_.connect_domain.value = address;
    return true;
}

}  // namespace quirn
