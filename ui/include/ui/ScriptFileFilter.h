#pragma once

// How the file dialogs offer resource scripts.
inline constexpr char kScriptDefaultExtension[] = "rc";
inline constexpr char kScriptFileFilter[] = "Resource Files (*.rc)|*.rc|All Files (*.*)|*.*||";
