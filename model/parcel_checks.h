// What a surveyor checks of a drawing's parcels, reported as findings: in
// the exact drawing, a parcel whose border's area differs from its registered
// area by more than the cadastre allows, a number that stands outside its
// parcel with no arrow leading in, a parcel the file describes that has no
// number; in the standard drawing, each segment it draws that no line of the
// file holds (where a cut border's chain breaks, the drawing runs on
// straight to the next line).
#ifndef VORLANE_MODEL_PARCEL_CHECKS_H_
#define VORLANE_MODEL_PARCEL_CHECKS_H_

#include "model/border_path.h"
#include "model/cadastral_model.h"
#include "model/diagnostics.h"

namespace vorlane {

// The area the closed subpaths of "path" bound, in square units: rings
// inside an odd number of others are holes and count against it; arcs are
// arcs. Open subpaths bound nothing.
double enclosedArea(const CadastralModel& model, const BorderPath& path);

// Whether "point" lies inside the closed subpaths of "path", by the even-odd
// rule; a point on a border may count either way.
bool encloses(const CadastralModel& model, const BorderPath& path, const Point& point);

// The largest difference the cadastre accepts between a parcel's registered
// area and the area of its border, for a registered area of "area" m².
double areaTolerance(double area);

// The exact drawing's checks of the parcels of "model" (its current state).
// REQUIRES: the model is resolved for the exact drawing.
void reportParcelChecks(const CadastralModel& model, Diagnostics& diagnostics);

// The standard drawing's segments that the file does not hold, of parcels
// and buildings. REQUIRES: the model is resolved for the standard drawing.
void reportDrawnChords(const CadastralModel& model, Diagnostics& diagnostics);

}  // namespace vorlane

#endif  // VORLANE_MODEL_PARCEL_CHECKS_H_
