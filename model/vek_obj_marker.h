// VekObjMarker: the highlighter, a free-hand stroke in one of five marker colours.
//
// The colour is kept as a number (1 to 5); what each number looks like comes from the
// preferences through the shell, so changing a marker colour there recolours every marker.
#pragma once

#include "model/vek_obj_free.h"

class VekObjMarker : public VekObjFree {
public:
    explicit VekObjMarker(Passkey key) : VekObjFree(key) {}
    // A marker in the tool palette's current colour number and thickness, without shadow,
    // with the note "M".
    static std::shared_ptr<VekObjMarker> create();

    QString className() const override { return QStringLiteral("VekObjMarker"); }

    bool drawsStroke() const override { return true; }
    // Text never flows around a marker.
    bool isExclusive() const override { return false; }
    // The shell's marker colour for the number.
    Color strokeColor() const override;

    int colorNr() const { return _colorNr; }
    // Undoable; the number is held within 1 to 5.
    void setColorNr(int number);

protected:
    // "markerColor" = the colour number, beside the path object's keys.
    void writePropertyListKeys(PropertyList &dict) const override;
    void readPropertyListKeys(const PropertyList &dict) override;
    void copyAttributesTo(VekObject &copy) const override;

private:
    int _colorNr = 1;
};
