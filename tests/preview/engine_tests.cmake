# Engine tests of this area.
