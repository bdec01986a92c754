#pragma once
// Ties the resource browser and the editors together: the browser opens each
// kind's editor from its kind table, and the editors have the browser
// rebuilt. Neither includes the other; this is called before start-up.
void connect_resource_editors();
