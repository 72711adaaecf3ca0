int TolvexFormsPlaceholder() { return 0; }
