// option_dialog_model.h: the rules of the settings dialog (administrator password and router
// address): what it shows, which box may be edited, where the focus goes, and what OK stores.
//
// The dialog window (template 153) asks this model at its initialisation and on OK, on the
// window's thread; the model lives for one showing of the dialog.
#pragma once

#include <string>

#include "state/admin_password.h"
#include "state/app_settings.h"
#include "ui/logic/message_boxes.h"

namespace quirn {

// The user id the dialog shows; the router's administrator is always "admin".
inline constexpr wchar_t kAdminUserId[] = L"admin";

// What the dialog shows when it opens.
struct OptionDialogSetup {
    std::wstring user_id;   // shown in the disabled user id box
    std::wstring password;  // the decoded administrator password
    std::wstring address;   // the router's address
    bool password_enabled;  // the password box may be edited
    bool address_enabled;   // the address box may be edited
    int focus_control;      // IDC_PASSWORD or IDC_ADDRESS
};

class OptionDialogModel {
  public:
    // `target` is the record the dialog edits; it is not owned and must outlive the model.
    // `setPasswordMode`: the router has no administrator password and the one typed will be set
    // on it. `reentryMode`: the router refused the stored password.
    OptionDialogModel(AppSettings& target, bool setPasswordMode, bool reentryMode);
    virtual ~OptionDialogModel() = default;

    // Setting a password edits only the password; otherwise the password may be edited when
    // none is stored or it was refused, and the address always.
    OptionDialogSetup Setup() const;

    // OK with the boxes' texts. An empty address means the router's local host name. A changed
    // address is confirmed first (string 158, Yes/No); on No nothing is stored and the dialog
    // stays open (false). Otherwise stores the encoded password (empty when it breaks the
    // administrator-password rule) and the address into the target, records the encoding
    // result and the rule's verdict, and returns true: the dialog closes with OK.
    bool Confirm(std::wstring address, const std::wstring& password, MessageBoxes& boxes);

    // EncodeStoredPassword's result of the last Confirm that stored: the length of the stored
    // text, or negative (-2 too long, other values another failure); 0 before.
    int encodeResult() const { return encodeResult_; }
    // CheckAdminPassword's verdict on the password of the last Confirm that stored.
    AdminPasswordFit passwordFit() const { return passwordFit_; }

    bool setPasswordMode() const { return setPasswordMode_; }
    bool reentryMode() const { return reentryMode_; }

  private:
    AppSettings& target_;
    const AppSettings savedSettings_;  // the record as the dialog opened
    const bool setPasswordMode_;
    const bool reentryMode_;
    int encodeResult_ = 0;
    AdminPasswordFit passwordFit_ = AdminPasswordFit::kFits;
};

}  // namespace quirn
