// placeholder until the application shell lands
