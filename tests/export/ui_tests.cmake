# Desktop program tests of this area.
