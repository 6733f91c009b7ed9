#pragma once
// The pieces of the skin, each written by its own file.

namespace skingen {

class Theme;
class SkinWriter;

void WriteMainSkin(const Theme& theme, SkinWriter& out);
void WriteCompositeSkin(const Theme& theme, SkinWriter& out);
void WriteProfileSkin(const Theme& theme, SkinWriter& out);
void WriteUpdateSkin(const Theme& theme, SkinWriter& out);
void WritePanelBitmaps(const Theme& theme, SkinWriter& out);
void WriteIcons(const Theme& theme, SkinWriter& out);
void WriteColourTemplate(SkinWriter& out);

} // namespace skingen
