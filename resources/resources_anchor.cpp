// Gives the resource library an object file of its own; the resources
// themselves are added by qt_add_resources.
namespace quillmere {
int resourcesAnchor() { return 0; }
}  // namespace quillmere
