#pragma once

class FakeServer;

/** The token the demo identity page issues, and the one the approved courses accept. */
inline constexpr char DemoAlbisId[] = "4711000000000000042";

/**
 * The services of the regional server as the demo and the tests meet them, on the paths of the demo
 * INI file: the operator download from a small demo registry, the identity page, the approved
 * courses (which check the identity token), the new application number and the assistance page.
 */
void installRegionalServices(FakeServer &server);
