#pragma once
// How an editor has the resource browser show what it changed (names,
// thumbnails, deleted resources) without knowing the browser: main hands
// the browser's rebuild in at start-up. Before that a refresh does nothing.

void set_resource_browser_rebuild(void (*rebuild)());
void refresh_resource_browser();
