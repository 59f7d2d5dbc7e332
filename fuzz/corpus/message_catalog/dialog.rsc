# Icons and sizes of the message centre.
ZRBStatusIcon.Icon = I_ZRBSuccess
ZRBStatusIcon2.Icon = I_ZRBFailure
ZRBStatusIcon3.Icon = I_ZRBWarning
ZRBOutputBox.VisibleTextWidth = 60
