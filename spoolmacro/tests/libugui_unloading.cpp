// Test double of a libugui.dll whose playback entry, forwarded to
// ugui_unloader.dll, releases libugui.dll's last reference: the bridge's own
// release then fails.
