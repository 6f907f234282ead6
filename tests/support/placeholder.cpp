// placeholder until the substitute layer lands
