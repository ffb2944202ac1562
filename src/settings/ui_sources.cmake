# Desktop program files of this area.
