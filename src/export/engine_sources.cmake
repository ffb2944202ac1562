# Engine (no Qt) files of this area.
