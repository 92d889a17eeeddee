#pragma once

#include <QString>

#include "files/file_result.h"
#include "image/radio_image.h"
#include "ui/common/ui_prompts.h"

class QWidget;

namespace halyx {

class TextSource;

// The File menu's Open and Save also take a radio's whole configuration as text (*.halyx.yaml):
// the dialogs offer it as a second filter beside *.kda, and the file's name says which form it is.

// `spec` with the configuration text's filter entry added after its own.
FileDialogSpec WithConfigTextFilter(FileDialogSpec spec, const TextSource& texts);

// Loads an image file or a configuration text over `image`. A file that cannot be
// read gets the file-error box; a refused text a box listing its problems. False on failure, and
// then the image is unchanged.
bool LoadImageOrConfigText(const TextSource& texts, UiPrompts& prompts, QWidget* parent,
                           const QString& path, RadioImage& image);

// Saves the image as an image file or, by the name, as a configuration text; false (after the
// file-error box) when it cannot be written.
bool SaveImageOrConfigText(UiPrompts& prompts, QWidget* parent, const QString& path,
                           const RadioImage& image);

}  // namespace halyx
